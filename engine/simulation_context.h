#pragma once

#include <string>

#include "battle_log.h"
#include "ship_catalogue.h"
#include "shot_solver.h"

namespace kestrin {

/// The debug window's side of tracing: picks the solver call to trace and receives it.
class SolverTraceHook : public SolverTrace {
public:
    /// Whether the call of this initiative step, target class (0 for asteroid capture) and
    /// firing side is the one to trace.
    virtual bool WantsTrace(int step, int targetClass, Side firingSide) const = 0;
};

/// The settings and hooks of simulation runs; owned by the caller and passed in, so the
/// engine reads no global state.
struct SimulationContext {
    /// Solver variant; "New" unless the debug window chooses otherwise.
    kestrin::SolverVariant SolverVariant = kestrin::SolverVariant::New;
    /// Write the battle log during the run (one "Update Log" recalculation).
    bool LogEnabled = false;
    /// Set around a solver call that the debug window wants traced.
    bool TraceRequested = false;
    /// Log lines carry the solver's cycle note and the trace hook is asked for each call: set
    /// while the debug window is shown, and by kestrin-cli --cycles.
    bool NoteCycles = false;
    /// The latest cycle note; keeps its value while NoteCycles is off.
    std::string CycleNote;
    /// Decimal separator of the locale, for the log's fixed-point figures.
    char DecimalSeparator = '.';
    /// Log sink; used while LogEnabled is set.
    BattleLogSink* LogSink = nullptr;
    /// Trace hook; set while the debug window is shown.
    SolverTraceHook* TraceHook = nullptr;
    /// Told of every solver bailout; may be null.
    BailoutSignal* Bailout = nullptr;
};

}  // namespace kestrin
