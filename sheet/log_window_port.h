#pragma once

#include "engine/battle_log.h"

namespace kestrin {

/// What the battle sheet needs of the calculation log window. The log window
/// implements it in the desktop program, kestrin-cli for --log; the sheet never owns it.
class LogWindowPort {
public:
    virtual ~LogWindowPort() = default;

    /// The log window is shown: tick steps and opening a file run UpdateCalcLog in place of
    /// ReCalc, so the log follows the sheet.
    virtual bool LogWindowVisible() const = 0;

    /// Every recalculation runs as UpdateCalcLog does, not only tick steps and opening a
    /// file: kestrin-cli --log, whose printed log must match the printed sheet whatever
    /// command made it (a scan's apply, for instance).
    virtual bool LogsEveryRecalculation() const { return false; }

    /// Enables or disables the "Update Log" button; enabled means the log no longer matches
    /// the sheet. Every recalculation enables it; UpdateCalcLog and ClearGrid disable it.
    virtual void SetUpdateLogEnabled(bool enabled) = 0;

    /// Empties the log text (ClearGrid).
    virtual void ClearLog() = 0;

    /// The sink the simulation writes the log into during UpdateCalcLog's one logged
    /// recalculation (the log writer, WriteLogStep).
    virtual BattleLogSink& LogSink() = 0;
};

}  // namespace kestrin
