#pragma once

#include <iosfwd>

#include "optimise_command.h"

namespace kestrin {

class SaveTemporaries;

/// What the caller lends the commands besides the streams.
struct CliHooks {
    /// A --save temporary is tracked here, removed when a signal ends the command.
    SaveTemporaries* temporaries = nullptr;
    /// What `optimise` may use beyond this process's threads.
    OptimiseHooks optimise;
};

/// Runs kestrin-cli with the given arguments; returns the exit status.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           const CliHooks& hooks = {});

}  // namespace kestrin
