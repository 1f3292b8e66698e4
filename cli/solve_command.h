#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli_output.h"
#include "engine/shot_solver.h"

namespace kestrin {

/// The arguments of one solver call as the solve command reads them.
struct SolveCall {
    std::vector<double> ships;
    std::vector<double> killRates;
    std::vector<double> damage;
    std::int64_t shots = 0;
    SolverVariant variant = SolverVariant::New;
};

/// A solver call read from JSON text, or why it cannot be used.
struct SolveCallRead {
    SolveCall call;
    std::string error;  ///< empty on success
};

/// Reads {"ships": [...], "killRates": [...], "damage": [...], "shots": N, "variant": "new"}.
/// The three arrays must hold numbers and have one length; ships and kill rates must not be
/// negative; shots must be a 64-bit integer; the variant is "new" (default) or "old".
SolveCallRead ReadSolveCall(std::string_view text);

/// Runs the call and returns kills, damage, shotsAllocated, availableShots, cycles, G and
/// bailout, in this order.
Json SolveJson(const SolveCall& call);

/// `kestrin-cli solve`: one call read from `in`, its result printed on `out`.
int RunSolve(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kestrin
