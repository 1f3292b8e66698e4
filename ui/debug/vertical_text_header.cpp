#include "ui/debug/vertical_text_header.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace kestrin {

namespace {

// Free pixels around a heading's text.
constexpr int kPadding = 4;

}  // namespace

VerticalTextHeader::VerticalTextHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
}

void VerticalTextHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QFontMetrics metrics = fontMetrics();
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    // Bottom up, the baseline centred across the column.
    painter->translate(rect.left() + (rect.width() + metrics.ascent() - metrics.descent()) / 2,
                       rect.bottom() - kPadding);
    painter->rotate(-90);
    painter->drawText(0, 0, text);
    painter->restore();
}

QSize VerticalTextHeader::sectionSizeFromContents(int logicalIndex) const {
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QFontMetrics metrics = fontMetrics();
    return {metrics.height() + kPadding, metrics.horizontalAdvance(text) + 2 * kPadding};
}

}  // namespace kestrin
