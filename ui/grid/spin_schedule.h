#pragma once

#include <cstdint>

namespace kestrin {

/// The amount one timer tick adds to a held count, by the number of ticks since the press
/// (1 for the first): nothing for ticks 1-6 (the hold delay), then 1, 3, 10, 30, 100, 500
/// and from tick 121 on 1000.
int SpinStepForTick(int tick);

/// The counting of a press-and-hold: its direction, the last step and the ticks since the
/// press. Pure state, driven by the grid's mouse handlers and timer.
class SpinSchedule {
public:
    /// A press: +1 (upper half of the cell) or -1 (lower half); the next tick counts as 1.
    void Press(int direction);
    /// One timer tick: the signed amount to add now, 0 during the hold delay.
    int Tick();
    /// A release: the next press starts counting again.
    void Release() { step_ = 0; }
    /// The ticks since the press.
    int TickCount() const { return ticks_; }
    /// +1 or -1.
    int Direction() const { return direction_; }

private:
    int direction_ = 1;
    // Non-zero while a hold runs, the hold delay included, so that the tick counter goes on.
    int step_ = 0;
    int ticks_ = 0;
};

}  // namespace kestrin
