#include "cli_rules.h"

#include "cli_output.h"
#include "engine/ship_stats_file.h"
#include "settings/program_files.h"

namespace kestrin {

std::filesystem::path DefaultStatsPath(const char* argv0) {
    return ShipStatsPath(PrepareProgramFilesFolder(CurrentProgramFilesEnvironment(argv0)));
}

CliRules LoadCliRules(const std::filesystem::path& statsPath, std::ostream& err) {
    BattleRulesLoad load = LoadBattleRules(statsPath);
    CliRules result{std::move(load.rules), {}};
    if (!load.fileError.empty() && !load.fileUnreadable) {
        // Only a missing file is written, so the rules are the built-in ones.
        ReportWarning(err, load.fileError + ", so the built-in statistics were used");
    } else {
        result.error = std::move(load.fileError);
    }
    for (const std::string& note : load.fileNotes) ReportWarning(err, statsPath.string() + ": " + note);
    if (load.problems.empty()) return result;
    // Unlike the desktop program, a command does not go on with the built-in values.
    if (!result.error.empty()) result.error += "\n";
    result.error += "The statistics file " + statsPath.string() +
                    " has values the battle rules cannot use, so nothing was computed: ";
    for (std::size_t i = 0; i < load.problems.size(); ++i)
        result.error += (i > 0 ? "; " : "") + load.problems[i];
    return result;
}

}  // namespace kestrin
