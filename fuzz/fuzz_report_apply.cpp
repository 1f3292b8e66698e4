// Any pasted text applied to a battle as the scan parser's "OK" does, then recalculated a
// tick further. The first byte chooses the report kind, the side and the military fleets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/battle_rules.h"
#include "parser/apply_reports.h"

namespace {

kestrin::ReportChoice ChoiceOf(std::uint8_t byte) {
    kestrin::ReportChoice choice;
    choice.kind = static_cast<kestrin::ReportKind>(byte % 3);
    choice.scanSide = choice.militarySide = (byte & 4) != 0 ? kestrin::Side::Attacker : kestrin::Side::Defender;
    choice.fleets = {(byte & 8) != 0, (byte & 16) != 0, (byte & 32) != 0, (byte & 64) != 0};
    return choice;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kestrin::BattleRules rules = kestrin::MakeBattleRules(kestrin::DefaultShipCatalogue()).rules;
    if (size == 0) return 0;
    kestrin::SimulationContext context;
    kestrin::BattleSheet sheet(rules, context);
    // A battle already on the sheet, which scans add to.
    sheet.SetCell(1, 1, "1000");
    sheet.SetCell(7, 2, "500");
    const kestrin::TextLines lines(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    const kestrin::ReportChoice choice = ChoiceOf(data[0]);
    kestrin::ApplyReport(sheet, lines, choice);
    kestrin::ApplyReport(sheet, lines, choice);
    sheet.StepForward();
    return 0;
}
