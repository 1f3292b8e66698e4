#pragma once

#include <optional>
#include <string>

#include "command_options.h"

namespace kestrin {

/// The command line read: the options of a command to run, or the text to print and the
/// status to exit with (help, or a usage error).
struct CommandLineRead {
    std::optional<CliOptions> options;
    int status = 0;
    std::string helpText;  ///< for standard output
    std::string error;     ///< for standard error
};

/// Reads the arguments of kestrin-cli.
CommandLineRead ReadCommandLine(int argc, const char* const* argv);

}  // namespace kestrin
