#include "cli_app.h"

#include <exception>
#include <new>
#include <string>
#include <algorithm>
#include <ostream>
#include <sstream>
#include <string_view>

#include "cli_output.h"
#include "command_line.h"
#include "optimise_command.h"
#include "sheet_commands.h"
#include "solve_command.h"
#include "sweep_command.h"
#include "tables_command.h"

namespace kestrin {

namespace {

int RunCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
               const CliHooks& hooks) {
    SaveTemporaries* const temporaries = hooks.temporaries;
    const CommandLineRead read = ReadCommandLine(argc, argv);
    if (!read.options) {
        if (!read.error.empty()) return ReportError(err, read.error, read.status);
        const int written = WriteOutput(out, err, read.helpText);
        return written != kExitOk ? written : read.status;
    }
    const CliOptions& options = *read.options;
    switch (options.command) {
        case Command::Calc: return RunCalc(options.calc, options.statsPath, out, err, temporaries);
        case Command::Parse: return RunParse(options.parse, options.statsPath, in, out, err, temporaries);
        case Command::Tables: return RunTables(options.statsPath, out, err);
        case Command::Solve: return RunSolve(in, out, err);
        case Command::Sweep: return RunSweepCommand(options.sweep, options.statsPath, out, err, temporaries);
        case Command::Optimise: return RunOptimiseCommand(options.optimise, options.statsPath, out, err, hooks.optimise);
    }
    return ReportError(err, "Unknown command", kExitUsage);
}

// Writes what a command wrote on standard error when it ended: its warnings only if it
// succeeded, so that a failed command's error stays its one line.
void PassOnDiagnostics(const std::string& held, bool succeeded, std::ostream& err) {
    std::string_view rest = held;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size() - 1);
        const std::string_view line = rest.substr(0, end + 1);
        rest.remove_prefix(line.size());
        if (succeeded || !line.starts_with(kWarningPrefix)) err << line;
    }
    err.flush();
}

}  // namespace

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           const CliHooks& hooks) {
    // Commands write their output only once it is complete, so no partial JSON precedes this.
    // A failure's warnings are dropped with what was held.
    try {
        std::ostringstream held;
        const int status = RunCommand(argc, argv, in, out, held, hooks);
        PassOnDiagnostics(held.str(), status == kExitOk, err);
        return status;
    } catch (const std::bad_alloc&) {
        return ReportError(err, "Out of memory", kExitFailure);
    } catch (const std::exception& failure) {
        // Whatever else the libraries throw is one line too, not an abort.
        return ReportError(err, std::string("Unable to complete the command: ") + failure.what(), kExitFailure);
    }
}

}  // namespace kestrin
