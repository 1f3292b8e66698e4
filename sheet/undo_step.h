#pragma once

namespace kestrin {

/// What a step to undo was, for the menu's "Undo Typing" and "Redo Tick Step". Every change
/// names its step: there is no unnamed one.
enum class Step {
    Typing,
    Spin,
    Delete,
    Paste,
    TickStep,
    TickBack,
    ClearAll,
    ClearDefender,
    ClearAttacker,
    OpenFile,
    ScanReport,
    MilitaryScan,
    CombatReport,
    UseThisValue,
    UseThisFleet,
    DebugRun,
};

/// The last Step, for walking them all.
inline constexpr Step kLastStep = Step::DebugRun;

/// The step's name as the menu shows it after "Undo " or "Redo ".
const char* StepName(Step step);

/// Whether the step only moves between ticks: it leaves the battle's set-up as it was.
constexpr bool IsTickStep(Step step) { return step == Step::TickStep || step == Step::TickBack; }

}  // namespace kestrin
