#pragma once

#include <QWidget>

#include "settings/appearance.h"
#include "sheet/log_window_port.h"
#include "sheet/log_writer.h"

class QPushButton;
class QTextEdit;

namespace kestrin {

class BattleDocument;

/// "Calculation Log": a tool window showing, in coloured rich text, how the current tick was
/// fought. It is the sheet's log window: the sheet writes the log into its CalcLogText during
/// UpdateCalcLog, and the window shows the result once the logged run is over.
class TForm2 : public QWidget, public LogWindowPort {
    Q_OBJECT

public:
    /// A hidden window over the battle of `document`, coloured by the live `appearance`. The
    /// owner connects it to the sheet (BattleSheet::SetLogWindow).
    TForm2(BattleDocument& document, const Appearance& appearance, QWidget* parent = nullptr);

    /// "Show Calculation Log": brings the log up to date if it is not, then shows and focuses it.
    void ShowLog();
    /// "Update Log": one logged recalculation, shown at once; emits Recalculated.
    void UpdateCalcLog();
    /// The writer run with logging off (window creation, mouse release over the grid): the
    /// background takes the current ShipBgd, the text stays.
    void WriteLogStep();
    /// Shows the CalcLogText's lines and background, caret at the start.
    void Render();

    /// "Update Log"; enabled while the log does not match the sheet.
    QPushButton* UpdateLogButton() const { return updateLogButton_; }
    /// The log text, CalcLog.
    QTextEdit* LogText() const { return calcLog_; }
    /// The styled lines behind the log text.
    const CalcLogText& Text() const { return text_; }

    /// Whether the window is shown.
    bool LogWindowVisible() const override { return isVisible(); }
    /// Enables or disables "Update Log"; shows a log a finished run has just written.
    void SetUpdateLogEnabled(bool enabled) override;
    /// Empties the log.
    void ClearLog() override;
    /// The sink of a logged run.
    BattleLogSink& LogSink() override;

signals:
    /// The sheet was recalculated by "Update Log".
    void Recalculated();

private:
    /// Passes a run's log on to the CalcLogText and notes that the shown text is stale.
    class RelaySink : public BattleLogSink {
    public:
        explicit RelaySink(TForm2& window) : window_(window) {}
        void BeginLogRun() override;
        void WriteLogStep(const StepLists& lists) override;

    private:
        TForm2& window_;
    };

    void ShowBackground();

    BattleDocument& document_;
    const Appearance& appearance_;
    CalcLogText text_;
    Rgb background_;  // ShipBgd as it was at the last writer run
    RelaySink relay_{*this};
    // A logged run wrote lines that the text area does not show yet.
    bool renderPending_ = false;
    QPushButton* updateLogButton_ = nullptr;
    QTextEdit* calcLog_ = nullptr;
};

}  // namespace kestrin
