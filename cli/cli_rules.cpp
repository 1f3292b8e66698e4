#include "cli_rules.h"

#include "engine/ship_stats_file.h"
#include "settings/program_files.h"

namespace kestrin {

std::filesystem::path DefaultStatsPath(const char* argv0) {
    return ShipStatsPath(PrepareProgramFilesFolder(CurrentProgramFilesEnvironment(argv0)));
}

CliRules LoadCliRules(const std::filesystem::path& statsPath) {
    BattleRulesLoad load = LoadBattleRules(statsPath);
    CliRules result{std::move(load.rules), {}};
    for (const std::string& message : load.messages) {
        if (!result.error.empty()) result.error += "\n";
        result.error += message;
    }
    return result;
}

}  // namespace kestrin
