#include "command_line.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_output.h"
#include "cli_rules.h"
#include "engine/number_text.h"
#include "planner/sweep_range.h"
#include "optimise_command.h"
#include "planner/fleet_search.h"
#include "sweep_command.h"

namespace kestrin {

namespace {

constexpr std::pair<const char*, Command> kCommandNames[] = {
    {"calc", Command::Calc}, {"parse", Command::Parse},
    {"tables", Command::Tables}, {"solve", Command::Solve}, {"sweep", Command::Sweep}, {"optimise", Command::Optimise}};

// What the parser fills before the options are resolved into CliOptions.
struct RawOptions {
    CliOptions options;
    std::string statsPath;
    std::string solver = "new";
    std::string kind;
    std::string side = "defender";
    std::vector<std::string> fleets;
    std::string ticks = "1";
    std::string from, to, points, sweepTicks = "1";  ///< sweep: checked texts
    std::string minRoids = "1", maxLoss, evaluations = "10000", seed = "1", optimiseTicks = "1";  ///< optimise
};

// The accepted words of an option, in the order its help lists them.
std::vector<std::string> Words(std::initializer_list<const char*> words) {
    return std::vector<std::string>(words.begin(), words.end());
}

void AddStatsOption(CLI::App& command, RawOptions& raw) {
    command.add_option("--stats", raw.statsPath,
                       "Statistics file (default: ShipStats.ini beside the program, or "
                       "in ~/.config/Kestrin/ when installed)")
        ->check([](const std::string& path) -> std::string {
            if (path.empty()) return "expected a file name";
            // A file named on purpose is never made up: a typo must not compute on defaults.
            std::error_code error;
            if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found)
                return "the statistics file " + path + " does not exist";
            return {};
        });
}

// Decimal digits only: "0x10", "+3" or " 3" from a script is a mistake, not a count. The
// whole output is held until the end, so the count is bounded.
std::function<std::string(const std::string&)> CountFrom(int low, int high) {
    return [low, high](const std::string& text) -> std::string {
        const bool digits = !text.empty() && text.size() <= 6 &&
                            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits && std::stoi(text) >= low && std::stoi(text) <= high) return {};
        return "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    };
}

// A signed decimal value, nothing else, within 64 bits.
std::string CheckValue(const std::string& text) {
    return ParseInt64(text) ? std::string() : "expected a whole number";
}

void AddSolverOption(CLI::App& command, std::string& solver) {
    command.add_option("--solver", solver, "Solver variant: new (default) or old")
        ->check(CLI::IsMember(Words({"new", "old"})));
}

void AddSheetRunOptions(CLI::App& command, SheetRunOptions& run, std::string& solver) {
    command.add_flag("--log", run.log, "Run every recalculation as Update Log does; print the log");
    command.add_flag("--cycles", run.cycles, "Write the solver's cycle note into the log");
    AddSolverOption(command, solver);
    command.add_option("--save", run.savePath, "Save the sheet to this battle file at the end")
        ->check([](const std::string& path) { return path.empty() ? "expected a file name" : ""; });
}

void AddCalc(CLI::App& app, RawOptions& raw) {
    CLI::App* calc = app.add_subcommand("calc", "Open a battle file (or the empty sheet) and "
                                                "recalculate, one JSON line per tick");
    calc->add_option("battle", raw.options.calc.battlePath, "Battle file (.kbf)");
    calc->add_option("--ticks", raw.ticks, "Ticks to calculate, 1 to " + std::to_string(kMaxTicks) + " (default 1)")
        ->check(CountFrom(1, kMaxTicks));
    AddSheetRunOptions(*calc, raw.options.calc.run, raw.solver);
    AddStatsOption(*calc, raw);
}

void AddParse(CLI::App& app, RawOptions& raw) {
    CLI::App* parse = app.add_subcommand("parse", "Apply report text from standard input to "
                                                  "the sheet, as the scan parser's OK does");
    ParseOptions& options = raw.options.parse;
    parse->add_option("kind", raw.kind, "Report kind: scan, military or combat")
        ->required()
        ->check(CLI::IsMember(Words({"scan", "military", "combat"})));
    parse->add_option("--in", options.inPath, "Battle file to open first");
    parse->add_option("--side", raw.side, "Side of the scanned fleet (default defender)")
        ->check(CLI::IsMember(Words({"defender", "attacker"})));
    parse->add_option("--fleets", raw.fleets, "Military scan fleets to take: home,1,2,3")
        ->delimiter(',')
        ->check(CLI::IsMember(std::vector<std::string>(kFleetNames.begin(), kFleetNames.end())));
    AddSheetRunOptions(*parse, options.run, raw.solver);
    AddStatsOption(*parse, raw);
}

void AddTablesAndSolve(CLI::App& app, RawOptions& raw) {
    CLI::App* tables = app.add_subcommand("tables", "Print the combat tables and unit tables");
    AddStatsOption(*tables, raw);
    CLI::App* solve = app.add_subcommand("solve", "Run one shot allocation call read as JSON "
                                                  "from standard input");
    AddStatsOption(*solve, raw);  // accepted like everywhere, not used
    solve->footer(
        "Input: one JSON object, each key once:\n"
        "  {\"ships\": [...], \"killRates\": [...], \"damage\": [...], \"shots\": N, \"variant\": \"new\"}\n"
        "\"ships\": whole numbers from 0 to 2147483647, one per target type; \"killRates\": finite\n"
        "numbers, none negative; \"damage\": numbers from 0 up to but not including 1 (the three\n"
        "arrays of the same length); \"shots\": the shots available, a whole number from 0;\n"
        "\"variant\": \"new\" or \"old\" (optional, default \"new\").\n"
        "Output: {\"kills\", \"damage\", \"shotsAllocated\", \"availableShots\", \"cycles\", \"G\",\n"
        "\"bailout\"}.");
}

void AddSweep(CLI::App& app, RawOptions& raw) {
    CLI::App* sweep = app.add_subcommand("sweep", "Vary one input of a battle over a range of values; "
                                                  "one JSON line per value");
    SweepOptions& options = raw.options.sweep;
    sweep->add_option("battle", options.battlePath, "Battle file (.kbf)");
    sweep->add_option("--vary", options.vary, "SIDE:ROW, e.g. attacker:Harpy, defender:\"Metal Roids\", "
                                              "defender:\"Eonium Roids\", attacker:65 (a row number)")
        ->required();
    sweep->add_option("--from", raw.from, "First value")->required()->check(CheckValue);
    sweep->add_option("--to", raw.to, "Last value")->required()->check(CheckValue);
    sweep->add_option("--points", raw.points, "Evenly spaced whole values, 2 to 100000 "
                                              "(default: every whole value of the range)")
        ->check(CountFrom(kMinSweepPoints, kMaxSweepPoints));
    sweep->add_option("--ticks", raw.sweepTicks, "Ticks per value, 1 to 100 (default 1)")
        ->check(CountFrom(1, kMaxSweepTicks));
    AddSolverOption(*sweep, raw.solver);
    sweep->add_flag("--csv", options.csv, "One CSV header line, then one line per value and tick");
    sweep->add_flag("--findings", options.findings, "One JSON object with the findings over the whole battle, "
                                                    "taken over every whole value of the range when there are "
                                                    "at most 100000")
        ->excludes("--csv");
    AddStatsOption(*sweep, raw);
    sweep->footer(kSweepOutputHelp);
}

void AddOptimise(CLI::App& app, RawOptions& raw) {
    CLI::App* optimise = app.add_subcommand("optimise", "Find the attacker fleet to send: the counts of "
                                                        "several rows that best serve a goal");
    OptimiseOptions& options = raw.options.optimise;
    optimise->add_option("battle", options.battlePath, "Battle file (.kbf)");
    optimise->add_option("--vary", options.vary, "attacker:ROW[=MAX],... the rows to vary, each from 0 to MAX "
                                                 "(default: the count on the grid), e.g. "
                                                 "attacker:AstroPod=2000,Harpy,Dragon=500")
        ->required()
        ->delimiter(',');
    optimise->add_option("--goal", options.goal, "roids: most initiated asteroids, ties to the least loss; "
                                                 "loss-per-roid: least fleet value lost per initiated asteroid; "
                                                 "smallest-fleet: the smallest fleet value that captures the most")
        ->required()
        ->check(CLI::IsMember(Words({"roids", "loss-per-roid", "smallest-fleet"})));
    optimise->add_option("--min-roids", raw.minRoids, "loss-per-roid: initiated asteroids to capture at least "
                                                      "(default 1)")
        ->check(CheckValue);
    optimise->add_option("--max-loss", raw.maxLoss, "Most attacker fleet value to lose over the ticks")
        ->check(CheckValue);
    optimise->add_option("--ticks", raw.optimiseTicks, "Ticks to follow each fleet, 1 to 100 (default 1)")
        ->check(CountFrom(1, kMaxSweepTicks));
    optimise->add_option("--evaluations", raw.evaluations, "Fleets to try when there are more than 100,000, "
                                                           "1 to 1000000 (default 10000)")
        ->check(CheckValue);
    optimise->add_option("--seed", raw.seed, "Seed of the search's random choices (default 1)")->check(CheckValue);
    AddSolverOption(*optimise, raw.solver);
    AddStatsOption(*optimise, raw);
    optimise->footer(kOptimiseOutputHelp);
}

CliOptions Resolve(RawOptions& raw, const char* argv0) {
    CliOptions options = raw.options;
    options.statsPath = raw.statsPath.empty() ? DefaultStatsPath(argv0)
                                              : std::filesystem::path(raw.statsPath);
    const SolverVariant solver = raw.solver == "old" ? SolverVariant::Old : SolverVariant::New;
    options.calc.ticks = std::stoi(raw.ticks);
    options.calc.run.solver = solver;
    options.parse.run.solver = solver;
    options.sweep.solver = solver;
    options.sweep.from = ParseInt64(raw.from).value_or(0);
    options.sweep.to = ParseInt64(raw.to).value_or(0);
    if (!raw.points.empty()) options.sweep.points = std::stoi(raw.points);
    options.sweep.ticks = std::stoi(raw.sweepTicks);
    options.optimise.solver = solver;
    options.optimise.ticks = std::stoi(raw.optimiseTicks);
    options.optimise.minRoids = ParseInt64(raw.minRoids).value_or(0);
    if (!raw.maxLoss.empty()) options.optimise.maxLoss = ParseInt64(raw.maxLoss);
    options.optimise.evaluations = ParseInt64(raw.evaluations).value_or(0);
    options.optimise.seed = static_cast<std::uint64_t>(ParseInt64(raw.seed).value_or(0));
    options.parse.kind = raw.kind == "combat"     ? ReportKind::Combat
                         : raw.kind == "military" ? ReportKind::Military
                                                  : ReportKind::Scan;
    options.parse.side = raw.side == "attacker" ? Side::Attacker : Side::Defender;
    for (const std::string& fleet : raw.fleets)
        for (std::size_t i = 0; i < kFleetNames.size(); ++i)
            if (fleet == kFleetNames[i]) options.parse.fleets[i] = true;
    return options;
}

}  // namespace

CommandLineRead ReadCommandLine(int argc, const char* const* argv) {
    RawOptions raw;
    CLI::App app{"Kestrin battle calculator without a window: JSON on standard output.",
                 "kestrin-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("kestrin-cli ") + KESTRIN_VERSION);
    AddCalc(app, raw);
    AddParse(app, raw);
    AddTablesAndSolve(app, raw);
    AddSweep(app, raw);
    AddOptimise(app, raw);
    CommandLineRead read;
    // An option that takes a row given none: the parser would take the next option for it, or
    // name another option that is missing.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--vary" && (i + 1 == argc || std::string_view(argv[i + 1]).starts_with("--"))) {
            read.status = kExitUsage;
            read.error = "--vary needs a row, e.g. --vary attacker:AstroPod";
            return read;
        }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() != 0) {
            read.status = kExitUsage;
            read.error = error.what();
            // A word where the command belongs is named, with the commands there are.
            if (argc > 1 && app.get_subcommands().empty() && argv[1][0] != '-') {
                read.error = std::string("Unknown command '") + argv[1] + "': expected ";
                for (std::size_t i = 0; i < std::size(kCommandNames); ++i) {
                    const bool last = i + 1 == std::size(kCommandNames);
                    read.error += (i == 0 ? "" : last ? " or " : ", ") + std::string(kCommandNames[i].first);
                }
            }
            return read;
        }
        std::ostringstream help;
        std::ostringstream ignored;
        read.status = app.exit(error, help, ignored);
        read.helpText = help.str();
        return read;
    }
    for (const auto& [name, command] : kCommandNames)
        if (app.got_subcommand(name)) raw.options.command = command;
    read.options = Resolve(raw, argc > 0 ? argv[0] : nullptr);
    return read;
}

}  // namespace kestrin
