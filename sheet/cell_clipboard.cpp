#include "cell_clipboard.h"

#include <vector>

#include "sheet/number_format.h"
#include "sheet/text_lines.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// The first shown row at or below `row`, or past the last row.
int ShownRowFrom(const BattleSheet& battleSheet, int row) {
    while (row <= sheet::kLastRow && !battleSheet.RowVisible(row)) ++row;
    return row;
}

}  // namespace

std::string CopyCellsText(const BattleSheet& battleSheet, const CellRange& range) {
    std::string text;
    bool firstLine = true;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        if (!battleSheet.RowVisible(row)) continue;
        if (!firstLine) text += '\n';
        firstLine = false;
        for (int col = range.firstCol; col <= range.lastCol; ++col) {
            if (col != range.firstCol) text += '\t';
            const std::int64_t value = battleSheet.Cells().Int64(col, row);
            text += value != 0 ? FormatNumber(value, battleSheet.Locale()) : battleSheet.Cell(col, row);
        }
    }
    return text;
}

std::string PasteCellsText(BattleSheet& battleSheet, int col, int row, std::string_view text) {
    const SheetChange change(battleSheet);
    int target = ShownRowFrom(battleSheet, row);
    for (const std::string& line : SplitLines(text)) {
        if (target > sheet::kLastRow) break;
        int targetCol = col;
        for (std::string_view field : SplitFields(line)) {
            if (sheet::IsInputCell(targetCol, target)) {
                const bool wide = target == sheet::kScoreRow;
                battleSheet.SetCell(targetCol, target, NormaliseTypedNumber(field, battleSheet.Locale(), wide));
            }
            ++targetCol;
        }
        target = ShownRowFrom(battleSheet, target + 1);
    }
    return battleSheet.Recalculate();
}

}  // namespace kestrin
