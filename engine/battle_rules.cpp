#include "battle_rules.h"

#include <cassert>

#include "catalogue_check.h"
#include "ship_stats_file.h"

namespace kestrin {

std::vector<std::string> BattleRulesLoad::Messages() const {
    std::vector<std::string> messages;
    // The file could not be read: say, as for unusable values, what the program does instead.
    if (!fileError.empty())
        messages.push_back(fileUnreadable ? fileError + "; the built-in values are used instead" : fileError);
    // One message for everything replaced, so that start-up stops once at most.
    std::string replaced;
    if (!fileNotes.empty()) {
        replaced = "Some statistics could not be read from the statistics file; the built-in values are used "
                   "instead:";
        for (const std::string& note : fileNotes) replaced += "\n  " + note;
    }
    if (!problems.empty()) replaced += (replaced.empty() ? "" : "\n") + CatalogueProblemsMessage(problems);
    if (!replaced.empty()) messages.push_back(std::move(replaced));
    return messages;
}

BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue) {
    CatalogueCheck check = CheckShipCatalogue(catalogue);
    std::vector<std::string> problems = std::move(check.problems);
    ShipCatalogue checked = std::move(check.catalogue);
    CombatTablesBuild build = BuildCombatTables(checked);
    if (!build.error.empty()) {
        // The check leaves nothing a conversion can fail on; should it ever miss a case the
        // built-in table still gives complete tables.
        problems.push_back(build.error);
        checked = DefaultShipCatalogue();
        checked.paBattleConstant = catalogue.paBattleConstant;
        build = BuildCombatTables(checked);
    }
    assert(build.error.empty());
    return {BattleRules(std::move(checked), std::move(build.tables)), {}, false, std::move(problems), {}};
}

BattleRulesLoad LoadBattleRules(const std::filesystem::path& statsPath) {
    ShipStatsLoad stats = LoadShipStats(statsPath);
    BattleRulesLoad load = MakeBattleRules(stats.catalogue);
    load.fileError = std::move(stats.error);
    load.fileUnreadable = stats.unreadable;
    load.fileNotes = std::move(stats.notes);
    return load;
}

}  // namespace kestrin
