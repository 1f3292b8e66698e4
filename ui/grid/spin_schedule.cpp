#include "ui/grid/spin_schedule.h"

#include <array>
#include <limits>

namespace kestrin {
namespace {

/// The last tick of each stage of the acceleration and the step it adds.
struct SpinStage {
    int lastTick;
    int step;
};

constexpr std::array<SpinStage, 7> kStages{{
    {6, 0}, {20, 1}, {40, 3}, {60, 10}, {80, 30}, {100, 100}, {120, 500},
}};
constexpr int kFastestStep = 1000;

}  // namespace

int SpinStepForTick(int tick) {
    for (const SpinStage& stage : kStages) {
        if (tick <= stage.lastTick) return stage.step;
    }
    return kFastestStep;
}

void SpinSchedule::Press(int direction) {
    direction_ = direction < 0 ? -1 : 1;
    step_ = 0;
}

int SpinSchedule::Tick() {
    if (step_ == 0) ticks_ = 0;
    // A hold of more than a year of ticks keeps the fastest step rather than wrapping.
    if (ticks_ < std::numeric_limits<int>::max()) ++ticks_;
    const int step = SpinStepForTick(ticks_) * direction_;
    step_ = step != 0 ? step : direction_;
    return step;
}

}  // namespace kestrin
