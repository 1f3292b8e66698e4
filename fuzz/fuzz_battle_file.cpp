// Any battle file's bytes opened into a sheet and recalculated, then saved back: no crash,
// the saved form always has its 130 lines, and every line told as no count is a line of the
// file, told in order.
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
    const kestrin::BattleFileResult opened = kestrin::ReadBattleFileBytes(sheet, bytes);
    if (opened.ok()) {
        int previous = 0;
        for (const kestrin::BattleFileProblem& problem : opened.problems) {
            if (problem.line <= previous || problem.line > kestrin::kBattleFileLines || problem.text.empty()) std::abort();
            previous = problem.line;
            (void)kestrin::BattleFileProblemText(problem);
        }
        const std::string saved = kestrin::BattleFileBytes(sheet.Cells());
        if (kestrin::SplitLines(saved).size() != static_cast<std::size_t>(kestrin::kBattleFileLines)) std::abort();
    }
    return 0;
}
