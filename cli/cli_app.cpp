#include "cli_app.h"

#include <exception>
#include <new>
#include <string>
#include <ostream>

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
               SaveTemporaries* temporaries) {
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
        case Command::Sweep: return RunSweepCommand(options.sweep, options.statsPath, out, err);
        case Command::Optimise: return RunOptimiseCommand(options.optimise, options.statsPath, out, err);
    }
    return ReportError(err, "Unknown command", kExitUsage);
}

}  // namespace

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           SaveTemporaries* temporaries) {
    // Commands write their output only once it is complete, so no partial JSON precedes this.
    try {
        return RunCommand(argc, argv, in, out, err, temporaries);
    } catch (const std::bad_alloc&) {
        return ReportError(err, "Out of memory", kExitFailure);
    } catch (const std::exception& failure) {
        // Whatever else the libraries throw is one line too, not an abort.
        return ReportError(err, std::string("Unable to complete the command: ") + failure.what(), kExitFailure);
    }
}

}  // namespace kestrin
