#pragma once

#include <QString>
#include <QWidget>

#include <array>

#include "engine/ship_catalogue.h"

class QComboBox;
class QPainter;

namespace kestrin {

class FixedCellTable;

/// "Ship Details": the 19 statistics of one unit type, chosen in the window's list or by the
/// grid's "Ship Stats" command. A hidden tool window, built once over the catalogue.
class TShipDetailsForm : public QWidget {
    Q_OBJECT

public:
    /// A hidden window listing the unit types of `catalogue`; it keeps its own copy, since
    /// the catalogue never changes once loaded.
    explicit TShipDetailsForm(const ShipCatalogue& catalogue, QWidget* parent = nullptr);

    /// Fills the values column with the statistics of `type` and names the window after it.
    void ShowShipDetails(ShipIndex type);
    /// "Ship Stats": selects `type` in the list, shows its details for `side`, then shows,
    /// raises and focuses the window.
    void ShowFor(ShipIndex type, Side side);

    /// The text of table cell (col, row): column 0 the labels, column 1 the values.
    QString CellText(int col, int row) const;
    /// The side the details were last asked for.
    Side ShownSide() const { return side_; }
    /// The unit type list.
    QComboBox* ShipList() const { return shipList_; }
    /// The statistics table.
    FixedCellTable* Table() const { return table_; }

protected:
    /// Fits the table to the window whenever the table's size changes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShipListActivated(int index);
    void FitTable();
    int LabelWidth() const;
    int LongestValueWidth() const;
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect, bool focused) const;

    ShipCatalogue catalogue_;
    QComboBox* shipList_ = nullptr;
    FixedCellTable* table_ = nullptr;
    std::array<QString, kShipFieldCount> values_{};
    Side side_ = Side::Defender;
    int labelWidth_ = 0;
    int valueWidth_ = 0;
};

}  // namespace kestrin
