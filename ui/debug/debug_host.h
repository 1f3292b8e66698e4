#pragma once

namespace kestrin {

/// The main window's commands the debug window drives; the main window implements them,
/// tests record them.
class DebugHost {
public:
    virtual ~DebugHost() = default;
    /// Recalculates the battle and shows the results (the main window's "Re - Calculate");
    /// during a run, as part of the run's held change.
    virtual void ReCalc() = 0;
    /// Hides the sheet rows that hold nothing on either side and shows the rest.
    virtual void CompressGrid() = 0;
    /// "Save &As...": offers to save the battle as it stands now.
    virtual void FileSaveAs1() = 0;
    /// Stops the grid's spin timer, so that no recalculation runs behind a message box.
    virtual void StopGridTimer() = 0;
};

}  // namespace kestrin
