#pragma once

#include <iosfwd>

namespace kestrin {

/// Runs kestrin-cli with the given arguments; returns the exit status.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kestrin
