#include "cli_rules.h"

#include <system_error>

#include "engine/ship_stats_file.h"

namespace kestrin {

std::filesystem::path DefaultStatsPath(const char* argv0) {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty()) {
        executable = argv0 != nullptr ? std::filesystem::path(argv0) : std::filesystem::path();
        executable = std::filesystem::absolute(executable, error);
    }
    return ShipStatsPath(executable.parent_path());
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
