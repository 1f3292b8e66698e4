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
/// Only what the battle simulation can pass is accepted: the three arrays of one length,
/// ships whole from 0 to 2^31-1, kill rates finite and not negative, damage in [0, 1), shots
/// from 0 to 2^63-1, each key once, nesting at most 32 deep; the variant is "new" (default)
/// or "old". The error names the field.
SolveCallRead ReadSolveCall(std::string_view text);

/// Runs the call and returns kills, damage, shotsAllocated, availableShots, cycles, G and
/// bailout, in this order.
Json SolveJson(const SolveCall& call);

/// `kestrin-cli solve`: one call read from `in`, its result printed on `out`.
int RunSolve(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kestrin
