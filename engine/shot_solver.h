#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrin {

/// The two solver variants; they differ only in zero kill rates and in the stopping test.
enum class SolverVariant { New, Old };

/// One target entry as the search uses it (after the "Old" variant's substitutions).
struct SolverTraceEntry {
    double ships = 0;
    double damage = 0;
    double killRate = 0;
};

/// Trace event sent when the search begins.
struct SolverTraceStart {
    std::int64_t availableShots = 0;
    double scale = 0;
    double shotsToKillAll = 0;
    std::vector<SolverTraceEntry> entries;
};

/// Trace event sent after each search cycle but a bailing-out one.
struct SolverTraceCycle {
    int cycle = 0;  ///< 1-based
    double g = 0;
    double resultingShots = 0;
    double difference = 0;
    double targetDifference = 0;  ///< the stopping tolerance in shots
};

/// Per-entry result in the end event.
struct SolverTraceResult {
    std::int64_t shotsAllocated = 0;
    std::int64_t kills = 0;
    double damage = 0;
};

/// Trace event sent after the allocation.
struct SolverTraceEnd {
    int cycles = 0;
    double g = 0;
    double resultingShots = 0;
    double difference = 0;  ///< against the shots the call started with
    std::vector<SolverTraceResult> entries;
};

/// Receives the trace of one solver call (the debug window implements it).
class SolverTrace {
public:
    virtual ~SolverTrace() = default;
    /// The search begins.
    virtual void OnStart(const SolverTraceStart& event) = 0;
    /// A search cycle ended normally.
    virtual void OnCycle(const SolverTraceCycle& event) = 0;
    /// The allocation is done; the trace is complete.
    virtual void OnEnd(const SolverTraceEnd& event) = 0;
};

/// Told when a search reaches the 50-cycle limit.
class BailoutSignal {
public:
    virtual ~BailoutSignal() = default;
    /// The iteration limit was reached; the allocation still follows.
    virtual void OnBailout() = 0;
};

/// How the solver runs; owned by the caller, never global.
struct SolverSettings {
    SolverVariant variant = SolverVariant::New;
    /// Receives the trace while *traceRequested is set; may be null.
    SolverTrace* trace = nullptr;
    /// Raised by the caller for a call it wants traced; cleared after a complete trace.
    bool* traceRequested = nullptr;
    /// Told of every bailout; may be null.
    BailoutSignal* bailout = nullptr;
};

/// Search iteration limit.
inline constexpr int kSolverCycleLimit = 50;

/// Spreads `availableShots` over the target entries of one class.
///
/// All spans have one element per entry. `ships` and `killRates` are read; `damage` carries
/// the fractional kills in and out; `kills` and `shotsAllocated` receive the results;
/// `availableShots` returns the shots not fired. `cycles` and `g` return the search's cycle
/// count and final G (both 0 when no search was needed). With no entries or no shots nothing
/// is written.
///
/// Every quantity behaves as if evaluated in x87 extended precision and rounded to double
/// where stored. A double-precision fast path with a proven error bound decides whatever it
/// can and falls back to the extended evaluation for comparisons too close to call, so the
/// results are identical to the extended evaluation bit for bit.
void AllocateShots(std::span<const double> ships, std::span<const double> killRates,
                   std::span<std::int64_t> kills, std::span<double> damage,
                   std::int64_t& availableShots, int& cycles, double& g,
                   std::span<std::int64_t> shotsAllocated, const SolverSettings& settings);

/// The same call evaluated only in extended precision, without the fast path; the
/// reference that the fast path is checked against.
void AllocateShotsReference(std::span<const double> ships, std::span<const double> killRates,
                            std::span<std::int64_t> kills, std::span<double> damage,
                            std::int64_t& availableShots, int& cycles, double& g,
                            std::span<std::int64_t> shotsAllocated,
                            const SolverSettings& settings);

}  // namespace kestrin
