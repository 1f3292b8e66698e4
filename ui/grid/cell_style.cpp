#include "ui/grid/cell_style.h"

#include <QColor>

#include "sheet/sheet_layout.h"

namespace kestrin {

bool IsInputCell(int col, int row) { return sheet::IsInputCell(col, row); }

AppearanceColour CellBackground(int col, int row) { return AppearanceOf(sheet::CellBackground(col, row)); }

AppearanceColour CellTextColour(int col, bool reportView) {
    return AppearanceOf(sheet::CellTextColour(col, reportView));
}

QString FullCellText(const SheetCells& cells, int col, int row, bool reportView,
                     const NumberLocale& locale) {
    return QString::fromStdString(sheet::ShownText(cells, col, row, reportView, locale));
}

QString ShortenedCellText(const SheetCells& cells, int col, int row, bool reportView,
                          const NumberLocale& locale, bool millions) {
    return QString::fromStdString(sheet::ShortenedText(cells, col, row, reportView, locale, millions));
}

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

}  // namespace kestrin
