#include "battle_rules.h"

#include "catalogue_check.h"
#include "ship_stats_file.h"

namespace kestrin {

BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue) {
    BattleRulesLoad load;
    const CatalogueCheck check = CheckShipCatalogue(catalogue);
    if (!check.problems.empty()) load.messages.push_back(CatalogueProblemsMessage(check.problems));
    load.rules.catalogue = check.catalogue;
    CombatTablesBuild build = BuildCombatTables(load.rules.catalogue);
    if (!build.error.empty()) {
        // The check leaves nothing a conversion can fail on; should it ever miss a case the
        // built-in table still gives complete tables.
        load.messages.push_back(build.error);
        load.rules.catalogue = DefaultShipCatalogue();
        load.rules.catalogue.paBattleConstant = catalogue.paBattleConstant;
        build = BuildCombatTables(load.rules.catalogue);
    }
    load.rules.tables = std::move(build.tables);
    return load;
}

BattleRulesLoad LoadBattleRules(const std::filesystem::path& statsPath) {
    const ShipStatsLoad stats = LoadShipStats(statsPath);
    BattleRulesLoad load = MakeBattleRules(stats.catalogue);
    if (!stats.error.empty()) load.messages.insert(load.messages.begin(), stats.error);
    return load;
}

}  // namespace kestrin
