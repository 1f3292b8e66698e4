#pragma once

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include <map>
#include <string>

#include "sheet/results.h"

namespace kestrin {

/// The strip along the bottom of the main window: fleet changes, asteroids lost, salvage,
/// the attacker's loss or gain per initiated asteroid, and the tick buttons.
class ResultsPanelWidget : public QFrame {
    Q_OBJECT
public:
    /// Height of the strip in pixels.
    static constexpr int kHeight = 65;

    explicit ResultsPanelWidget(QWidget* parent = nullptr);

    /// Shows the texts of one recalculation (and the tick indicator). A text too wide for its
    /// box shows whole in a smaller font, or in a wider box; every box's tooltip gives the
    /// full figure.
    void Show(const ResultsPanel& panel);

    /// The text box or changing title named after its control ("DLoss", "DefLossGainLbl", ...).
    QLabel* Element(const std::string& name) const;

    /// The previous-tick and next-tick buttons.
    QToolButton* TickBackButton() const { return tickBack_; }
    QToolButton* TickButton() const { return tick_; }

signals:
    /// The `TickBack` button was pressed.
    void TickBackClicked();
    /// The `Tick` button was pressed.
    void TickClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* Title(const QString& text, int x, int y);
    QLabel* Box(const std::string& name, int x, int y, int width, int height = 17);
    void FitBox(QLabel* box);
    void BuildDefenderPart();
    void BuildAttackerPart();
    void BuildTickControls();

    std::map<std::string, QLabel*> elements_;
    // Each box's place and font as laid out, which a text too wide for them may outgrow.
    struct StatedBox {
        QRect geometry;
        QFont font;
    };
    std::map<QLabel*, StatedBox> stated_;
    QToolButton* tickBack_ = nullptr;
    QToolButton* tick_ = nullptr;
};

}  // namespace kestrin
