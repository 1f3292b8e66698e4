#include "tables_command.h"

#include <ostream>

#include "cli_rules.h"
#include "sheet/unit_tables.h"

namespace kestrin {

namespace {

// A 54 x 54 table as rows of numbers, [firer][target].
template <typename Table>
Json TableRows(const Table& table) {
    Json rows = Json::array();
    for (const auto& row : table) rows.push_back(Json(row));
    return rows;
}

}  // namespace

Json TablesJson(const BattleRules& rules) {
    Json tables = Json::object();
    tables["paBattleConstant"] = rules.catalogue.paBattleConstant;
    tables["initiativeOrder"] = rules.tables.initiativeOrder;
    tables["targetClass"] = TableRows(rules.tables.targetClass);
    tables["killRate"] = TableRows(rules.tables.killRate);
    tables["unitTables"] = UnitTablesTexts(rules);
    return tables;
}

int RunTables(const std::filesystem::path& statsPath, std::ostream& out, std::ostream& err) {
    const CliRules loaded = LoadCliRules(statsPath, err);
    if (!loaded.error.empty()) return ReportError(err, loaded.error, kExitUsage);
    return WriteOutput(out, err, DumpJson(TablesJson(loaded.rules)) + "\n");
}

}  // namespace kestrin
