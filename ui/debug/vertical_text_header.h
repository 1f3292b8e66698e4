#pragma once

#include <QHeaderView>

namespace kestrin {

/// A column header whose texts read upwards, so that narrow columns still show whole names;
/// the header grows as tall as the longest text.
class VerticalTextHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit VerticalTextHeader(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

}  // namespace kestrin
