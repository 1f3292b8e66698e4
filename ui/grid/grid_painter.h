#pragma once

#include <QRect>
#include <QString>

#include "settings/appearance.h"
#include "sheet/battle_sheet.h"
#include "ui/grid/grid_layout.h"
#include "ui/grid/text_width_cache.h"

class QPainter;

namespace kestrin {

/// The text a cell shows in a column `columnWidth` pixels wide: the full figure, or for the
/// resource totals, Eonium and scores that do not fit (text width + 4 > column width) the
/// "k" form, or the "m" form when the "k" form does not fit either.
QString CellTextToShow(const BattleSheet& sheet, TextWidthCache& widths, int col, int row,
                       int columnWidth);

/// Paints cells of the battle sheet in the appearance colours: background, text, grid lines,
/// race lines and the focus rectangle. Made for one repaint of the grid.
class GridPainter {
public:
    /// Paints with `painter`; everything is read at paint time, so a colour changed in the
    /// setup window shows at the next repaint.
    GridPainter(QPainter& painter, const BattleSheet& sheet, const Appearance& appearance,
                const GridLayout& layout, TextWidthCache& widths);

    /// Paints cell (col, row) into `rect` (viewport coordinates); `focused` adds the focus
    /// rectangle. A hidden row (empty rect) paints nothing.
    void DrawCell(int col, int row, const QRect& rect, bool focused);

private:
    void DrawText(int col, int row, const QRect& rect);
    void DrawLines(int col, int row, const QRect& rect);
    QColor Colour(AppearanceColour colour) const;

    QPainter& painter_;
    const BattleSheet& sheet_;
    const Appearance& appearance_;
    const GridLayout& layout_;
    TextWidthCache& widths_;
};

}  // namespace kestrin
