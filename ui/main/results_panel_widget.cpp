#include "ui/main/results_panel_widget.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <algorithm>

#include "sheet/panel_entries.h"

namespace kestrin {

namespace {

// The panel splits into the defender's part and the attacker's at this x.
constexpr int kSplitX = 381;
// Free pixels beside a box's text; and the smallest type a box's text may shrink to.
constexpr int kBoxPadding = 2;
constexpr qreal kSmallestPointSize = 6.5;

QLabel* SideTitle(QWidget* parent, const QString& text, const QColor& colour, int x) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(10);
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(x, 4);
    label->adjustSize();
    return label;
}

}  // namespace

ResultsPanelWidget::ResultsPanelWidget(QWidget* parent) : QFrame(parent) {
    setFixedHeight(kHeight);
    setMinimumWidth(660);
    BuildDefenderPart();
    BuildAttackerPart();
    BuildTickControls();
    Show(ResultsPanel{});
}

QLabel* ResultsPanelWidget::Title(const QString& text, int x, int y) {
    auto* label = new QLabel(text, this);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// The value boxes: sunken, centred, fixed size.
QLabel* ResultsPanelWidget::Box(const std::string& name, int x, int y, int width, int height) {
    auto* box = new QLabel(this);
    box->setObjectName(QString::fromStdString(name));
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignCenter);
    box->setGeometry(x, y, width, height);
    box->setAutoFillBackground(true);
    elements_[name] = box;
    stated_[box] = {box->geometry(), box->font()};
    return box;
}

// A figure's sign and digits never vanish past the box's edges: the type shrinks down to a
// still readable size, and beyond that the box grows about its centre, over its neighbours.
void ResultsPanelWidget::FitBox(QLabel* box) {
    const StatedBox& stated = stated_.at(box);
    const int room = stated.geometry.width() - 2 * box->frameWidth() - kBoxPadding;
    QFont font = stated.font;
    int textWidth = QFontMetrics(font).horizontalAdvance(box->text());
    while (textWidth > room && font.pointSizeF() - 0.5 >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        textWidth = QFontMetrics(font).horizontalAdvance(box->text());
    }
    box->setFont(font);
    QRect geometry = stated.geometry;
    if (textWidth > room) {
        geometry.setWidth(textWidth + 2 * box->frameWidth() + kBoxPadding);
        const int left = stated.geometry.center().x() - geometry.width() / 2;
        geometry.moveLeft(std::clamp(left, 0, std::max(0, width() - geometry.width())));
        box->raise();
    }
    box->setGeometry(geometry);
}

void ResultsPanelWidget::BuildDefenderPart() {
    SideTitle(this, "Defender", QColor(0, 128, 0), 12);
    elements_["DefLossGainLbl"] = Title("Fleet Losses", 12, 24);
    Box("DLoss", 8, 40, 77);
    Title("Metal", 148, 4);
    Title("Crystal", 184, 4);
    Title("Eonium", 224, 4);
    Title("UnInit", 268, 4);
    Title("Roids Lost", 320, 4);
    Title("Roids", 108, 20);
    Box("MR", 140, 20, 41);
    Box("CR", 180, 20, 41);
    Box("ER", 220, 20, 41);
    Box("UR", 260, 20, 41);
    Box("TR", 320, 20, 49);
    Title("Salvage", 96, 40);
    Box("MSalvage", 140, 40, 41);
    Box("CSalvage", 180, 40, 41);
    Box("ESalvage", 220, 40, 41);
}

void ResultsPanelWidget::BuildAttackerPart() {
    SideTitle(this, "Attacker", QColor(128, 0, 0), 400);
    elements_["AttLossGainLbl"] = Title("Fleet Losses", 400, 24);
    Box("ALoss", 396, 40, 77);
    Title("Total Init.", 480, 12);
    Title("Roids", 488, 24);
    Box("TIR", 480, 40, 41);
    elements_["RoidLossGainLbl"] = Title("Loss per", 532, 12);
    Title("Init. Roid", 532, 24);
    Box("ALossPerRoid", 528, 40, 49);
}

void ResultsPanelWidget::BuildTickControls() {
    QLabel* indicator = Box("TickIndicator", 588, 12, 65, 21);
    QPalette palette = indicator->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    indicator->setPalette(palette);
    QFont font = indicator->font();
    font.setBold(true);
    indicator->setFont(font);
    stated_[indicator].font = font;
    tickBack_ = new QToolButton(this);
    tickBack_->setObjectName("TickBack");
    tickBack_->setArrowType(Qt::LeftArrow);
    tickBack_->setGeometry(588, 32, 33, 25);
    tickBack_->setToolTip("Previous tick");
    tick_ = new QToolButton(this);
    tick_->setObjectName("Tick");
    tick_->setArrowType(Qt::RightArrow);
    tick_->setGeometry(620, 32, 33, 25);
    tick_->setToolTip("Next tick");
    connect(tickBack_, &QToolButton::clicked, this, &ResultsPanelWidget::TickBackClicked);
    connect(tick_, &QToolButton::clicked, this, &ResultsPanelWidget::TickClicked);
}

void ResultsPanelWidget::Show(const ResultsPanel& panel) {
    for (const PanelEntry& entry : PanelEntries(panel)) {
        QLabel* label = elements_.at(std::string(entry.key));
        label->setText(QString::fromStdString(entry.text));
        if (entry.label) {
            label->adjustSize();
            continue;
        }
        label->setToolTip(QString::fromStdString(entry.full));
        FitBox(label);
    }
}

QLabel* ResultsPanelWidget::Element(const std::string& name) const {
    const auto found = elements_.find(name);
    return found == elements_.end() ? nullptr : found->second;
}

void ResultsPanelWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(kSplitX, 0, kSplitX, height());
}

}  // namespace kestrin
