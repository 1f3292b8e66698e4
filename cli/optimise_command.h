#pragma once

#include <filesystem>
#include <iosfwd>

#include "command_options.h"

namespace kestrin {

/// What `kestrin-cli optimise --help` says about the output after the options.
extern const char* const kOptimiseOutputHelp;

/// `kestrin-cli optimise`: opens the battle file, finds the fleet the goal asks for and prints
/// one JSON object. Every usage error or unusable input exits 2 before anything is printed.
int RunOptimiseCommand(const OptimiseOptions& options, const std::filesystem::path& statsPath,
                       std::ostream& out, std::ostream& err);

}  // namespace kestrin
