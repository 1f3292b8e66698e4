#include "sheet_inputs.h"

#include "sheet/sheet_layout.h"

namespace kestrin {

using namespace sheet;

const std::string& InputText(const SheetCells& cells, Side side, int row) {
    return cells.At(ShipsColumn(side), row);
}

std::int32_t InputCount(const SheetCells& cells, Side side, int row) { return cells.Count(ShipsColumn(side), row); }

void SetInputText(SheetCells& cells, Side side, int row, std::string_view text) {
    cells.Set(ShipsColumn(side), row, text);
}

const std::string& RowCaption(const SheetCells& cells, Side side, int row) { return cells.At(SideOffset(side), row); }

bool IsUnitRow(int row) { return row >= kFirstUnitRow && row <= kLastUnitRow; }

ShipIndex UnitAt(int row) { return row - kFirstUnitRow; }

bool IsTotalsRow(int row) { return row >= kTotalUnitsRow && row <= kFleetValueRow; }

std::vector<std::string> InputTexts(const SheetCells& cells) {
    std::vector<std::string> texts;
    texts.reserve(2 * (kRows - 1));
    for (const Side side : {Side::Defender, Side::Attacker})
        for (int row = kFirstUnitRow; row <= kLastRow; ++row) texts.push_back(InputText(cells, side, row));
    return texts;
}

std::vector<std::vector<std::string>> CellRows(const SheetCells& cells) {
    std::vector<std::vector<std::string>> rows(kRows, std::vector<std::string>(kColumns));
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) rows[row][col] = cells.At(col, row);
    return rows;
}

}  // namespace kestrin
