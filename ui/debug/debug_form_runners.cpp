// The two generated-battle runs of the "Hole Detector" page. The battles come from
// BattleGenerators; a zero-interval timer fights one per tick on the user-interface thread,
// so that the window stays responsive between them and "Stop" can be pressed.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <chrono>

#include "ui/debug/debug_form.h"

namespace kestrin {

void TDebugForm::SetRunnersBusy(bool busy) {
    runnerBusy_ = busy;
    runShipTesting_->setEnabled(!busy);
    runHoleDetectorBtn_->setEnabled(!busy);
}

// The whole run is one held change, one step to undo: Ctrl+Z brings back the player's
// battle. An edit open in the grid ends before it; one typed during the run ends it first, so
// the count is a step of its own and no generated battle writes over it. Its first battle is
// fought at once; the timer fights the others.
void TDebugForm::StartRun(void (TDebugForm::*step)()) {
    const auto seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    document_.BeginDebugRun(*this, seed);
    if (!document_.Holding()) return;
    SetRunnersBusy(true);
    runStep_ = step;
    runTimer_->start();
    (this->*step)();
}

void TDebugForm::FinishRun() {
    if (!runnerBusy_) return;
    StopRunners();
    document_.EndHold();
}

void TDebugForm::HoldEnded() { StopRunners(); }

void TDebugForm::StopRunners() {
    runTimer_->stop();
    running_ = false;
    pass_.reset();
    SetRunnersBusy(false);
}

// Random battles: 1,000 sheets of random fleets, each recalculated. Runs to the end:
// "Stop" belongs to the ship test run.
void TDebugForm::RunHoleDetectorBtnClick() {
    if (runnerBusy_) return;
    randomBattlesLeft_ = BattleGenerators::kRandomBattles;
    StartRun(&TDebugForm::RandomRunStep);
}

void TDebugForm::RandomRunStep() {
    document_.WriteRandomBattle();
    host_.ReCalc();
    if (--randomBattlesLeft_ == 0) FinishRun();
    if (bailoutPending_) AskAfterBailout();
}

// Ship test run: passes of up to 50 battles of one firing type against random targets of
// one class, each traced, until "Stop".
void TDebugForm::RunShipTestingClick() {
    if (runnerBusy_) return;
    battlesRun_ = 0;
    running_ = true;
    StartRun(&TDebugForm::ShipRunStep);
}

void TDebugForm::ShipRunStep() {
    if (!running_) return FinishRun();
    if (!pass_ || passBattles_ == BattleGenerators::kBattlesPerPass) {
        // Checked before every pass: the choice may change while the run goes on.
        const std::string idle = document_.WhyNoShipBattle(ChosenStep());
        if (!idle.empty()) {
            FinishRun();
            messages_.Warning(this, QString::fromStdString(idle));
            return;
        }
        // A pass that fights no battle still leaves the next tick to the events.
        pass_ = document_.BeginShipPass(ChosenStep());
        passBattles_ = 0;
        if (!pass_) return;
        NameTracedCall(*pass_);
        host_.CompressGrid();
    }
    document_.WriteShipBattle(*pass_);
    DebugCalculate();
    ++passBattles_;
    ++battlesRun_;
    battlesRunBox_->setText(QString::number(battlesRun_));
    if (bailoutPending_) AskAfterBailout();
}

// The step chosen in the list, or none with "Use Random".
std::optional<int> TDebugForm::ChosenStep() const {
    if (randomOption_->isChecked()) return std::nullopt;
    return holeDetectorComboBox_->currentIndex();
}

void TDebugForm::NameTracedCall(const BattleGenerators::ShipPass& pass) {
    // The battles below recalculate themselves; a selector change must not add one more.
    const QSignalBlocker blockInitiative(debugInitiative_);
    const QSignalBlocker blockSide(debugAttDef_);
    const QSignalBlocker blockClass(debugTargeting_);
    debugInitiative_->setCurrentIndex(pass.step);
    // Item 0 is "Attacker", item 1 "Defender".
    debugAttDef_->setCurrentIndex(pass.firing == Side::Attacker ? 0 : 1);
    debugTargeting_->setCurrentIndex(pass.targetClass - 1);
}

}  // namespace kestrin
