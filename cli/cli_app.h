#pragma once

#include <iosfwd>

namespace kestrin {

class SaveTemporaries;

/// Runs kestrin-cli with the given arguments; returns the exit status.
/// A --save temporary is tracked in `temporaries`, removed when a signal ends the command.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           SaveTemporaries* temporaries = nullptr);

}  // namespace kestrin
