// Any statistics file feeding a whole battle: read as start-up reads it, checked, turned into
// combat tables, and a battle of every unit type on both sides simulated with its log for
// three ticks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/cli_log_window.h"
#include "engine/battle_rules.h"
#include "engine/ship_stats_file.h"
#include "sheet/battle_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kestrin::BattleRules rules = kestrin::MakeBattleRules(kestrin::ReadShipStats(text)).rules;
    kestrin::SimulationContext context;
    kestrin::CliLogWindow log(true);
    kestrin::BattleSheet sheet(rules, context);
    sheet.SetLogWindow(&log);
    for (int row = 1; row <= kestrin::kShipCount; ++row) {
        sheet.SetCell(1, row, std::to_string(row * 997));
        sheet.SetCell(7, row, std::to_string(row * 1009));
    }
    for (int row = 60; row <= 64; ++row) sheet.SetCell(1, row, "5000");
    sheet.UpdateCalcLog();
    sheet.StepForward();
    sheet.StepForward();
    return 0;
}
