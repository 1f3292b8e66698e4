#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/battle_rules.h"

class QLabel;
class QPainter;

namespace kestrin {

class FixedCellTable;

/// How the text of one unit tables cell is drawn.
struct UnitTablesTextStyle {
    QColor colour;
    bool bold = false;
    bool italic = false;
};

/// "Unit Tables": for every firing and target unit type, the share of the target's cost one
/// firing unit removes per firing, in percent of its own cost; the text's colour and style
/// give the pair's target class. Filled once at creation, since the rules never change.
class TShipMatrixForm : public QWidget {
    Q_OBJECT

public:
    /// A hidden window over `rules`, showing decimals with `decimalSeparator`.
    explicit TShipMatrixForm(const BattleRules& rules, char decimalSeparator = '.',
                             QWidget* parent = nullptr);

    /// The text of cell (col, row): column a + 1 is firing type a, row t + 1 target type t.
    QString CellText(int col, int row) const;
    /// The colour and style of cell (col, row)'s text.
    UnitTablesTextStyle CellStyle(int col, int row) const;
    /// Scrolls cell (col, row) into view and returns it as drawn.
    QImage RenderCell(int col, int row);
    /// The table.
    FixedCellTable* Table() const { return table_; }
    /// The strip's readout of the cell pointed at.
    QLabel* Readout() const { return readout_; }

private:
    void BuildUnitTables(const BattleRules& rules, char decimalSeparator);
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect) const;
    void DrawText(QPainter& painter, int col, int row, const QRect& rect) const;

    FixedCellTable* table_ = nullptr;
    QLabel* readout_ = nullptr;
    std::vector<std::vector<QString>> texts_;
    // [firer][target] target classes, 0 where the firer cannot fire on the target.
    std::array<std::array<std::int32_t, kShipCount>, kShipCount> classes_{};
};

}  // namespace kestrin
