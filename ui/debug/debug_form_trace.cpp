// The trace display of one solver call, its plot and the bailout reaction.
#include <QComboBox>
#include <QLabel>
#include <QPixmap>

#include "ui/debug/debug_form.h"
#include "ui/debug/debug_number_text.h"
#include "ui/debug/text_grid.h"

namespace kestrin {

namespace {

constexpr int kGeneralDigits = 15;
constexpr int kScaleDigits = 5;
constexpr int kShotsToKillAllDigits = 7;
constexpr int kGDecimals = 6;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString TDebugForm::General(double value) const {
    return Text(FormatGeneral(value, kGeneralDigits, context_.DecimalSeparator));
}

bool TDebugForm::WantsTrace(int step, int targetClass, Side firingSide) const {
    const int side = firingSide == Side::Attacker ? 0 : 1;
    return debugInitiative_->currentIndex() == step &&
           debugTargeting_->currentIndex() + 1 == targetClass && debugAttDef_->currentIndex() == side;
}

void TDebugForm::OnStart(const SolverTraceStart& event) {
    const char separator = context_.DecimalSeparator;
    availableShotsLabel_->setText(QString::number(event.availableShots));
    scaleLabel_->setText("Scale = " + Text(FormatGeneral(event.scale, kScaleDigits, separator)));
    shotsToKillAllLabel_->setText(
        Text(FormatFixedOrScientific(event.shotsToKillAll, kShotsToKillAllDigits, 1, separator)));
    const int entries = static_cast<int>(event.entries.size());
    debugResultsGrid_->SetRowCount(entries + 1);
    for (int i = 0; i < entries; ++i) {
        const SolverTraceEntry& entry = event.entries[static_cast<std::size_t>(i)];
        debugResultsGrid_->SetCell(0, i + 1, General(entry.ships));
        debugResultsGrid_->SetCell(1, i + 1, General(entry.damage));
        debugResultsGrid_->SetCell(2, i + 1, General(entry.killRate));
    }
}

void TDebugForm::OnCycle(const SolverTraceCycle& event) {
    const int row = event.cycle;
    cycleGrid_->SetRowCount(row + 1);
    cycleGrid_->SetCell(0, row, QString::number(event.cycle));
    cycleGrid_->SetCell(
        1, row, Text(FormatFixedOrScientific(event.g, kGeneralDigits, kGDecimals, context_.DecimalSeparator)));
    cycleGrid_->SetCell(2, row, General(event.resultingShots));
    cycleGrid_->SetCell(3, row, General(event.difference));
    cycleGrid_->SetCell(4, row, General(event.targetDifference));
}

void TDebugForm::OnEnd(const SolverTraceEnd& event) {
    cyclesLabel_->setText(QString::number(event.cycles));
    gLabel_->setText(
        Text(FormatFixedOrScientific(event.g, kGeneralDigits, kGDecimals, context_.DecimalSeparator)));
    resultingShotsLabel_->setText(General(event.resultingShots));
    differenceLabel_->setText(General(event.difference));
    const int entries = static_cast<int>(event.entries.size());
    if (debugResultsGrid_->RowCount() < entries + 1) debugResultsGrid_->SetRowCount(entries + 1);
    for (int i = 0; i < entries; ++i) {
        const SolverTraceResult& result = event.entries[static_cast<std::size_t>(i)];
        debugResultsGrid_->SetCell(3, i + 1, QString::number(result.shotsAllocated));
        debugResultsGrid_->SetCell(4, i + 1, QString::number(result.kills));
        debugResultsGrid_->SetCell(5, i + 1, General(result.damage));
    }
    DrawPlot();
}

// Called inside the simulation: the question waits until the recalculation is over (a run
// asks after its battle, anything else once back in the event loop). A box here would run an
// event loop in which a timer could start a recalculation inside this one.
void TDebugForm::OnBailout() {
    if (isVisible() && !bailoutPending_) {
        bailoutPending_ = true;
        QMetaObject::invokeMethod(this, &TDebugForm::AskAfterBailout, Qt::QueuedConnection);
    }
    if (nextBailout_ != nullptr) nextBailout_->OnBailout();
}

void TDebugForm::AskAfterBailout() {
    if (!bailoutPending_) return;
    bailoutPending_ = false;
    // The run ends as one step with the battle that bailed out, and the spin timer would go
    // on recalculating behind the message box.
    FinishRun();
    host_.StopGridTimer();
    messages_.Warning(this, "Loop counter Bailout exceeded !");
    host_.FileSaveAs1();
}

void TDebugForm::ClearTraceDisplay() {
    for (QLabel* label : {shotsToKillAllLabel_, availableShotsLabel_, scaleLabel_, cyclesLabel_, gLabel_,
                          resultingShotsLabel_, differenceLabel_})
        label->clear();
    for (TextGrid* grid : {cycleGrid_, debugResultsGrid_}) {
        grid->SetRowCount(1);
        grid->SetRowCount(2);
    }
}

// The plot shows what the display shows: it reads the numbers back from the labels and the
// cycle rows, so a call without a search plots as empty rows at the origin.
DtPlotData TDebugForm::PlotData() const {
    const char separator = context_.DecimalSeparator;
    auto number = [separator](const QString& text) { return ReadNumber(text.toStdString(), separator); };
    DtPlotData data;
    data.availableShots = number(availableShotsLabel_->text()).value_or(0);
    const std::optional<double> shotsToKillAll = number(shotsToKillAllLabel_->text());
    data.shotsToKillAll = shotsToKillAll.value_or(0);
    data.verticalRange = shotsToKillAll.value_or(1.0);
    for (int row = 1; row < cycleGrid_->RowCount(); ++row)
        data.cycles.push_back({number(cycleGrid_->Cell(1, row)).value_or(0),
                               number(cycleGrid_->Cell(2, row)).value_or(0)});
    return data;
}

void TDebugForm::DrawPlot() {
    plotImage_ = DrawDtPlot(dtPlotBox_->size(), PlotData());
    dtPlotBox_->setPixmap(QPixmap::fromImage(plotImage_));
}

}  // namespace kestrin
