#include "sheet_commands.h"

#include <unistd.h>

#include <istream>
#include <optional>
#include <ostream>

#include "bailout_counter.h"
#include "battle_inputs.h"
#include "cli_log_window.h"
#include "cli_output.h"
#include "cli_rules.h"
#include "descriptor_output.h"
#include "engine/atomic_file.h"
#include "input_text.h"
#include "parser/report_recognition.h"
#include "sheet/sheet_inputs.h"
#include "sheet/text_lines.h"
#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "tick_json.h"

namespace kestrin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One command's battle: the sheet with its log and bailout counter, and the output so far.
// Output is collected and written only when the whole command has succeeded.
struct SheetRun {
    SheetRun(const BattleRules& rules, const SheetRunOptions& options)
        : logWindow(options.log), sheet(rules, context, kCliLocale), withLog(options.log) {
        context.SolverVariant = options.solver;
        context.NoteCycles = options.cycles;
        context.DecimalSeparator = kCliLocale.decimalSeparator;
        context.Bailout = &bailouts;
        sheet.SetLogWindow(&logWindow);
        sheet.KeepNoUndo();  // one command per process: nothing is ever undone
    }

    void AddTick() {
        TickReport report;
        report.tick = sheet.CurrentTick();
        report.reportView = sheet.ReportView();
        report.cells = CellRows(sheet.Cells());
        report.panel = PanelTexts(sheet.Results());
        report.bailouts = bailouts.Count();
        bailouts.Reset();
        if (withLog) report.log = logWindow.Lines();
        output += TickJsonLine(report);
    }

    SimulationContext context;
    BailoutCounter bailouts;
    CliLogWindow logWindow;
    BattleSheet sheet;
    bool withLog;
    std::string output;
};

// Opens a battle file as "&Open..." does; its messages become errors, its lines that are no
// count warnings.
std::string OpenInto(SheetRun& run, const std::filesystem::path& path, std::ostream& err) {
    const BattleFileResult result = OpenBattleFile(run.sheet, path);
    if (!result.ok()) return result.message;
    ReportBattleFileProblems(err, path, result.problems);
    return {};
}

// Saves as "Save &As..." does, but moves the file into place only once the output is
// written: a failed command leaves no file behind.
int Finish(SheetRun& run, const SheetRunOptions& options, std::ostream& out, std::ostream& err,
           SaveTemporaries* temporaries) {
    // Declared first, so that it forgets the temporary after `save` has removed it.
    const struct Forget {
        SaveTemporaries* temporaries;
        ~Forget() {
            if (temporaries != nullptr) temporaries->Forget();
        }
    } forget{temporaries};
    std::optional<PendingFile> save;
    // Saving over standard output ("/dev/stdout") would put the battle file where the output
    // went, or the output into the battle file.
    if (!options.savePath.empty() && IsFileOf(options.savePath, STDOUT_FILENO))
        return ReportError(err, "Unable to save to " + options.savePath.string() + ": it is the command's standard output",
                           kExitFailure);
    if (!options.savePath.empty()) {
        std::unique_lock<std::mutex> held;
        if (temporaries != nullptr) held = temporaries->Hold();
        save.emplace(options.savePath, BattleFileBytes(run.sheet.Cells()));
        if (temporaries != nullptr) temporaries->Track(save->TemporaryPath());
        if (!save->Error().empty()) return ReportError(err, save->Error(), kExitFailure);
    }
    if (const int written = WriteOutput(out, err, run.output); written != kExitOk) return written;
    if (save) {
        if (std::string error = save->Commit(); !error.empty()) return ReportError(err, error, kExitFailure);
    }
    return kExitOk;
}

}  // namespace

int RunCalc(const CalcOptions& options, const std::filesystem::path& statsPath, std::ostream& out,
            std::ostream& err, SaveTemporaries* temporaries) {
    const CliRules rules = LoadCliRules(statsPath, err);
    if (!rules.error.empty()) return ReportError(err, rules.error, kExitUsage);
    SheetRun run(rules.rules, options.run);
    if (options.battlePath.empty()) {
        run.sheet.RecalculateFollowingLog();
    } else if (std::string error = OpenInto(run, options.battlePath, err); !error.empty()) {
        return ReportError(err, error, kExitUsage);
    }
    run.AddTick();
    for (int tick = 2; tick <= options.ticks; ++tick) {
        run.sheet.StepForward();
        run.AddTick();
    }
    return Finish(run, options.run, out, err, temporaries);
}

int RunParse(const ParseOptions& options, const std::filesystem::path& statsPath, std::istream& in,
             std::ostream& out, std::ostream& err, SaveTemporaries* temporaries) {
    const CliRules rules = LoadCliRules(statsPath, err);
    if (!rules.error.empty()) return ReportError(err, rules.error, kExitUsage);
    SheetRun run(rules.rules, options.run);
    if (!options.inPath.empty()) {
        if (std::string error = OpenInto(run, options.inPath, err); !error.empty())
            return ReportError(err, error, kExitUsage);
    }
    std::string text;
    if (const InputRead read = ReadInputText(in, text); !read.error.empty())
        return ReportError(err, read.error, read.status);
    // An editor that saved the report as UTF-8 may have put a byte-order mark before its
    // first word.
    if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
    ReportChoice choice;
    choice.kind = options.kind;
    choice.scanSide = choice.militarySide = options.side;
    choice.fleets = {options.fleets[0], options.fleets[1], options.fleets[2], options.fleets[3]};
    if (!ReportHasFigures(TextLines(text), choice.kind, rules.rules.catalogue))
        ReportWarning(err, "no figure was recognised in the standard input (is it a report of this kind, as text?)");
    for (const std::string& note : ApplyReport(run.sheet, TextLines(text), choice)) ReportWarning(err, note);
    run.AddTick();
    return Finish(run, options.run, out, err, temporaries);
}

}  // namespace kestrin
