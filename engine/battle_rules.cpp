#include "battle_rules.h"

#include "catalogue_check.h"
#include "ship_stats_file.h"

namespace kestrin {

std::vector<std::string> BattleRulesLoad::Messages() const {
    std::vector<std::string> messages;
    // The file could not be read: say, as for unusable values, what the program does instead.
    if (!fileError.empty())
        messages.push_back(fileUnreadable ? fileError + "; the built-in values are used instead" : fileError);
    if (!problems.empty()) messages.push_back(CatalogueProblemsMessage(problems));
    return messages;
}

BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue) {
    BattleRulesLoad load;
    CatalogueCheck check = CheckShipCatalogue(catalogue);
    load.problems = std::move(check.problems);
    load.rules.catalogue = std::move(check.catalogue);
    CombatTablesBuild build = BuildCombatTables(load.rules.catalogue);
    if (!build.error.empty()) {
        // The check leaves nothing a conversion can fail on; should it ever miss a case the
        // built-in table still gives complete tables.
        load.problems.push_back(build.error);
        load.rules.catalogue = DefaultShipCatalogue();
        load.rules.catalogue.paBattleConstant = catalogue.paBattleConstant;
        build = BuildCombatTables(load.rules.catalogue);
    }
    load.rules.tables = std::move(build.tables);
    return load;
}

BattleRulesLoad LoadBattleRules(const std::filesystem::path& statsPath) {
    ShipStatsLoad stats = LoadShipStats(statsPath);
    BattleRulesLoad load = MakeBattleRules(stats.catalogue);
    load.fileError = std::move(stats.error);
    load.fileUnreadable = stats.unreadable;
    return load;
}

}  // namespace kestrin
