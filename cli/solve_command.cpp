#include "solve_command.h"

#include "bailout_counter.h"
#include "input_text.h"

namespace kestrin {

Json SolveJson(const SolveCall& call) {
    const std::size_t count = call.ships.size();
    // The solver leaves its outputs untouched when it has nothing to do: start them as the
    // caller of a firing does.
    std::vector<std::int64_t> kills(count, 0);
    std::vector<std::int64_t> shotsAllocated(count, 0);
    std::vector<double> damage = call.damage;
    std::int64_t availableShots = call.shots;
    int cycles = 0;
    double g = 0;
    BailoutCounter bailouts;
    const SolverSettings settings{call.variant, nullptr, nullptr, &bailouts};
    AllocateShots(call.ships, call.killRates, kills, damage, availableShots, cycles, g,
                  shotsAllocated, settings);
    Json result = Json::object();
    result["kills"] = kills;
    result["damage"] = damage;
    result["shotsAllocated"] = shotsAllocated;
    result["availableShots"] = availableShots;
    result["cycles"] = cycles;
    result["G"] = g;
    result["bailout"] = bailouts.Count() > 0;
    return result;
}

int RunSolve(std::istream& in, std::ostream& out, std::ostream& err) {
    std::string text;
    if (const InputRead read = ReadInputText(in, text); !read.error.empty())
        return ReportError(err, read.error, read.status);
    const SolveCallRead read = ReadSolveCall(text);
    if (!read.error.empty()) return ReportError(err, read.error, kExitUsage);
    return WriteOutput(out, err, DumpJson(SolveJson(read.call)) + "\n");
}

}  // namespace kestrin
