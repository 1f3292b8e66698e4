// The two generated-battle runners of the "Hole Detector" page. Both run on the
// user-interface thread and let pending events run between battles, so that the window
// stays responsive and "Stop" can be pressed.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "ui/debug/debug_form.h"
#include "engine/saturating.h"
#include "engine/number_text.h"

namespace kestrin {

namespace {

constexpr int kRandomBattles = 1000;
constexpr int kBattlesPerPass = 50;
constexpr int kDefenderColumn = 1;
constexpr int kAttackerColumn = 7;
// Caps that keep every written count a 32-bit sheet count (twice the firers) and the sum
// of shots needed far from overflow, whatever kill rates the catalogue gives.
constexpr std::int64_t kMaxFirers = std::int64_t{1} << 30;
constexpr std::int64_t kMaxShotsPerTarget = std::int64_t{1} << 40;

// The statistic naming the firer's target class 1, 2 or 3.
ShipField TargetField(int targetClass) {
    return targetClass == 1 ? ShipField::T1 : targetClass == 2 ? ShipField::T2 : ShipField::T3;
}

// Whether a pass with this firer can come to a battle: a pass ends at once on a target
// class the catalogue marks "-".
bool HasTargetClass(const ShipCatalogue& catalogue, ShipIndex firer) {
    for (int targetClass = 1; targetClass <= 3; ++targetClass)
        if (catalogue.Field(firer, TargetField(targetClass)) != "-") return true;
    return false;
}

}  // namespace

void TDebugForm::SeedFromClock() {
    random_.seed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

std::int64_t TDebugForm::Random(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
}

bool TDebugForm::PumpEvents() {
    const QPointer<TDebugForm> alive(this);
    QCoreApplication::processEvents();
    return !alive.isNull();
}

void TDebugForm::SetRunnersBusy(bool busy) {
    runnerBusy_ = busy;
    runShipTesting_->setEnabled(!busy);
    runHoleDetectorBtn_->setEnabled(!busy);
}

// Random battles: 1,000 sheets of random fleets, each recalculated. Runs to the end:
// "Stop" belongs to the ship test run.
void TDebugForm::RunHoleDetectorBtnClick() {
    if (runnerBusy_) return;
    host_.FinishInput();
    SetRunnersBusy(true);
    SeedFromClock();
    sheet_.BeginChange("Debug Run");  // the whole run is one step: Ctrl+Z brings back the battle
    for (int battle = 0; battle < kRandomBattles; ++battle)
        if (!RandomBattle()) return;  // the window went away, and the sheet with it
    sheet_.EndChange();
    SetRunnersBusy(false);
}

bool TDebugForm::RandomBattle() {
    // The higher a side's threshold, the fewer of its unit types get ships.
    const int defender = static_cast<int>(Random(0, 8));
    const int attacker = static_cast<int>(Random(0, 8));
    for (int row = 1; row <= kShipCount; ++row) {
        FillRandomCell(kDefenderColumn, row, defender);
        FillRandomCell(kAttackerColumn, row, attacker);
    }
    host_.ReCalc();
    return PumpEvents();
}

void TDebugForm::FillRandomCell(int col, int row, int emptyBelow) {
    const std::int64_t draw = Random(0, 9);
    sheet_.SetCell(col, row, emptyBelow < draw ? std::to_string(Random(0, 9999)) : std::string());
}

// Ship test run: passes of up to 50 battles of one firing type against random targets of
// one class, each traced, until "Stop".
void TDebugForm::RunShipTestingClick() {
    if (runnerBusy_) return;
    host_.FinishInput();
    SetRunnersBusy(true);
    SeedFromClock();
    battlesRun_ = 0;
    running_ = true;
    QString idle;
    sheet_.BeginChange("Debug Run");  // the whole run is one step: Ctrl+Z brings back the battle
    do {
        // Checked before every pass: the choice may change while events run.
        idle = WhyNoShipBattle();
        if (!idle.isEmpty()) break;
        if (!RunShipPass()) return;  // the window went away, and the sheet with it
    } while (running_);
    sheet_.EndChange();
    running_ = false;
    SetRunnersBusy(false);
    if (!idle.isEmpty()) messages_.Warning(this, idle);
}

// Why every pass of the ship test run would end before its first battle, or nothing: left
// alone, such a run would keep a processor busy while "Battles Run" never moves.
QString TDebugForm::WhyNoShipBattle() const {
    const auto& order = rules_.tables.initiativeOrder;
    if (randomOption_->isChecked()) {
        for (const ShipIndex firer : order)
            if (HasTargetClass(rules_.catalogue, firer)) return {};
        return QStringLiteral("No unit type has a target class (T1, T2 and T3 are all \"-\"): "
                              "there is no battle to run.");
    }
    const int step = holeDetectorComboBox_->currentIndex();
    if (step < 0 || step >= static_cast<int>(order.size()))
        return QStringLiteral("Choose the ship to test first.");
    const ShipIndex firer = order[static_cast<std::size_t>(step)];
    if (HasTargetClass(rules_.catalogue, firer)) return {};
    return QStringLiteral("%1 has no target class (T1, T2 and T3 are all \"-\"): it can fight no battle.")
        .arg(QString::fromStdString(rules_.catalogue.Name(firer)));
}

// False when the window went away while events ran.
bool TDebugForm::RunShipPass() {
    const auto& order = rules_.tables.initiativeOrder;
    const auto steps = static_cast<std::int64_t>(order.size());
    // Passes that fight no battle still let events run, so that "Stop" stays in reach.
    if (steps == 0) return PumpEvents();
    const bool useRandom = randomOption_->isChecked();
    const std::int64_t step = useRandom ? Random(0, steps - 1) : holeDetectorComboBox_->currentIndex();
    if (step < 0 || step >= steps) return PumpEvents();
    const ShipIndex firer = order[static_cast<std::size_t>(step)];
    const int targetColumn = !useRandom || Random(0, 99) > 49 ? kAttackerColumn : kDefenderColumn;
    const int firingColumn = targetColumn == kDefenderColumn ? kAttackerColumn : kDefenderColumn;
    const int targetClass = static_cast<int>(Random(1, 3));
    // "-" is the catalogue's marker for no class.
    if (rules_.catalogue.Field(firer, TargetField(targetClass)) == "-") return PumpEvents();
    NameTracedCall(static_cast<int>(step), targetColumn, targetClass);
    const std::int64_t need = FillTargets(firer, targetClass, targetColumn);
    for (int row = 1; row <= kShipCount; ++row) sheet_.SetCell(firingColumn, row, "");
    const std::int64_t maxFirers = MaxFirers(need, firer);
    sheet_.SetCell(firingColumn, firer + 1, "1");
    host_.CompressGrid();
    return ShipTestBattles(firer, firingColumn, maxFirers);
}

void TDebugForm::NameTracedCall(int step, int targetColumn, int targetClass) {
    // The battles below recalculate themselves; a selector change must not add one more.
    const QSignalBlocker blockInitiative(debugInitiative_);
    const QSignalBlocker blockSide(debugAttDef_);
    const QSignalBlocker blockClass(debugTargeting_);
    debugInitiative_->setCurrentIndex(step);
    // Targets in the defender's column: the attacker fires.
    debugAttDef_->setCurrentIndex(targetColumn == kDefenderColumn ? 0 : 1);
    debugTargeting_->setCurrentIndex(targetClass - 1);
}

// Random counts for every target type of the class; returns the shots that would kill
// them all.
std::int64_t TDebugForm::FillTargets(ShipIndex firer, int targetClass, int targetColumn) {
    std::int64_t need = 0;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        if (rules_.tables.targetClass[firer][t] != targetClass) {
            sheet_.SetCell(targetColumn, t + 1, "");
            continue;
        }
        const std::int64_t count = Random(0, 999);
        sheet_.SetCell(targetColumn, t + 1, std::to_string(count));
        const double rate = rules_.tables.killRate[firer][t];
        if (rate > 0)
            need += std::min(SaturatingInt64(std::ceil(static_cast<Extended>(count) / rate)), kMaxShotsPerTarget);
    }
    return need;
}

// The count range of a pass: twice a random share of the firers that could kill every
// target, so that about half the battles need the solver's search.
std::int64_t TDebugForm::MaxFirers(std::int64_t need, ShipIndex firer) const {
    const std::int32_t guns = LenientInt32(rules_.catalogue.Field(firer, ShipField::Guns));
    // A type without guns fires nothing whatever its count; one gun per ship still gives the
    // run a range of counts to try, and no division by zero.
    const std::int64_t gunsPerShip = guns > 0 ? guns : 1;
    return std::min(need / gunsPerShip + 1, kMaxFirers);
}

bool TDebugForm::ShipTestBattles(ShipIndex firer, int firingColumn, std::int64_t maxFirers) {
    for (int battle = 0; battle < kBattlesPerPass; ++battle) {
        sheet_.SetCell(firingColumn, firer + 1, std::to_string(2 * Random(0, maxFirers - 1)));
        DebugCalculate();
        ++battlesRun_;
        battlesRunBox_->setText(QString::number(battlesRun_));
        if (!PumpEvents()) return false;
        if (!running_) break;
    }
    return true;
}

}  // namespace kestrin
