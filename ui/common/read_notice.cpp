#include "ui/common/read_notice.h"

#include <QEvent>

#include <algorithm>

namespace kestrin {

namespace {

constexpr int kMargin = 6;

}  // namespace

ReadNotice::ReadNotice(QWidget* area, int shownLines) : QLabel(area), area_(area), shownLines_(shownLines) {
    setObjectName(QStringLiteral("ReadNotice"));
    setWordWrap(true);
    setMargin(4);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setTextFormat(Qt::PlainText);
    // The colours of a tooltip: a note, not part of what it lies over.
    setPalette(QPalette(QColor(255, 255, 225)));
    setForegroundRole(QPalette::WindowText);
    setCursor(Qt::PointingHandCursor);
    hide();
    area_->installEventFilter(this);
}

void ReadNotice::Tell(const QString& heading, const QStringList& lines) {
    lines_ = lines;
    if (lines.isEmpty()) return Dismiss();
    // Enough to read at a glance; the tooltip holds the rest.
    QStringList shown = lines.mid(0, shownLines_);
    if (lines.size() > shownLines_) shown << tr("... and %1 more (point here to list them)").arg(lines.size() - shownLines_);
    setText(heading + QLatin1Char('\n') + shown.join(QLatin1Char('\n')));
    // A huge paste may cut thousands of counts: the tooltip lists the first ones.
    constexpr int kListedLines = 40;
    QStringList listed = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines) listed << tr("... and %1 more").arg(lines.size() - kListedLines);
    setToolTip(listed.join(QLatin1Char('\n')));
    show();
    raise();
    Place();
}

void ReadNotice::Say(const QString& text) {
    lines_ = {text};
    setText(text);
    setToolTip(text);
    show();
    raise();
    Place();
}

bool ReadNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize && isVisible()) Place();
    return QLabel::eventFilter(watched, event);
}

// A click puts it away: it has been read.
void ReadNotice::mousePressEvent(QMouseEvent*) { Dismiss(); }

// Along the bottom of the area, as wide as it allows, as high as its text needs.
void ReadNotice::Place() {
    const int width = std::max(40, area_->width() - 2 * kMargin);
    const int height = std::min(heightForWidth(width), std::max(20, area_->height() - 2 * kMargin));
    setGeometry(kMargin, area_->height() - kMargin - height, width, height);
}

}  // namespace kestrin
