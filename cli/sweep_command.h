#pragma once

#include <filesystem>
#include <iosfwd>

#include "command_options.h"

namespace kestrin {

class SaveTemporaries;

/// What `kestrin-cli sweep --help` says about the output after the options.
extern const char* const kSweepOutputHelp;

/// `kestrin-cli sweep`: opens the battle file, sweeps the input and prints one JSON line per
/// value (or CSV). Every usage error or unusable input exits 2 before anything is printed. A
/// signal that ends it through `temporaries` (when given) leaves only whole lines.
int RunSweepCommand(const SweepOptions& options, const std::filesystem::path& statsPath,
                    std::ostream& out, std::ostream& err, SaveTemporaries* temporaries);

}  // namespace kestrin
