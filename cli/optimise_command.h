#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

#include "command_options.h"
#include "planner/fleet_search.h"

namespace kestrin {

/// What `kestrin-cli optimise --help` says about the output after the options.
extern const char* const kOptimiseOutputHelp;

/// What the web page lends `optimise` to use a second core: WebAssembly there has no threads,
/// so the second core is another Web Worker with its own core, running the same command.
struct OptimiseHooks {
    /// Takes part of each batch of fleets.
    FleetHelper* helper = nullptr;
    /// On the helper's side: the planned search is handed to this instead of being run, and
    /// the command prints nothing.
    std::function<void(const BattleRules&, const FleetSearchRequest&)> serve;
};

/// `kestrin-cli optimise`: opens the battle file, finds the fleet the goal asks for and prints
/// one JSON object. Every usage error or unusable input exits 2 before anything is printed.
int RunOptimiseCommand(const OptimiseOptions& options, const std::filesystem::path& statsPath,
                       std::ostream& out, std::ostream& err, const OptimiseHooks& hooks = {});

}  // namespace kestrin
