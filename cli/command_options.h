#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "engine/shot_solver.h"
#include "parser/apply_reports.h"

namespace kestrin {

/// The subcommands of kestrin-cli.
enum class Command { Calc, Parse, Tables, Solve, Sweep, Optimise };


/// Military scan fleets, in the dialog's order: home, 1, 2, 3.
inline constexpr std::array<const char*, 4> kFleetNames{"home", "1", "2", "3"};

/// Options shared by the commands that work on a battle sheet.
struct SheetRunOptions {
    bool log = false;     ///< every recalculation runs as "Update Log" does; print the log
    bool cycles = false;  ///< as if the debug window were shown: log lines carry the cycle note
    SolverVariant solver = SolverVariant::New;
    std::filesystem::path savePath;  ///< empty: save nothing
};

/// Most ticks one calc command prints.
inline constexpr int kMaxTicks = 10000;

/// `kestrin-cli calc [BATTLE.kbf]` options.
struct CalcOptions {
    SheetRunOptions run;
    std::filesystem::path battlePath;  ///< empty: start from the empty sheet
    int ticks = 1;                     ///< tick objects to print; 1 to kMaxTicks
};

/// `kestrin-cli parse KIND` options.
struct ParseOptions {
    SheetRunOptions run;
    ReportKind kind = ReportKind::Scan;
    std::filesystem::path inPath;  ///< empty: start from the empty sheet
    Side side = Side::Defender;    ///< scan and military
    std::array<bool, 4> fleets{};  ///< military: ticked fleets, in kFleetNames order
};

/// `kestrin-cli sweep [BATTLE.kbf]` options.
struct SweepOptions {
    std::filesystem::path battlePath;    ///< empty: start from the empty sheet
    std::string vary;                    ///< SIDE:ROW, the row by caption or number
    std::int64_t from = 0, to = 0;       ///< the range of values
    std::optional<std::int64_t> points;  ///< default: every whole value of the range
    int ticks = 1;
    SolverVariant solver = SolverVariant::New;
    bool csv = false;  ///< CSV instead of JSON lines
    bool findings = false;  ///< one JSON object with the findings instead of the points
};

/// `kestrin-cli optimise [BATTLE.kbf]` options.
struct OptimiseOptions {
    std::filesystem::path battlePath;  ///< empty: start from the empty sheet
    std::vector<std::string> vary;     ///< attacker:ROW[=MAX] items; ROW by caption or number
    std::string goal;                  ///< roids, loss-per-roid or smallest-fleet
    std::int64_t minRoids = 1;
    std::optional<std::int64_t> maxLoss;
    int ticks = 1;
    std::int64_t evaluations = 10000;
    std::uint64_t seed = 1;
    SolverVariant solver = SolverVariant::New;
};

/// Everything the command line chose.
struct CliOptions {
    Command command = Command::Tables;
    std::filesystem::path statsPath;  ///< resolved: the given path or the default beside the program
    CalcOptions calc;
    ParseOptions parse;
    SweepOptions sweep;
    OptimiseOptions optimise;
};

}  // namespace kestrin
