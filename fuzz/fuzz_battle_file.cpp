// Any battle file's bytes opened into a sheet and recalculated, then saved back: no crash,
// and the saved form always has its 130 lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/battle_rules.h"
#include "sheet/battle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kestrin::BattleRules rules = kestrin::MakeBattleRules(kestrin::DefaultShipCatalogue()).rules;
    kestrin::SimulationContext context;
    kestrin::BattleSheet sheet(rules, context);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (kestrin::ReadBattleFileBytes(sheet, bytes).ok()) {
        const std::string saved = kestrin::BattleFileBytes(sheet.Cells());
        if (kestrin::SplitLines(saved).size() != static_cast<std::size_t>(kestrin::kBattleFileLines)) std::abort();
    }
    return 0;
}
