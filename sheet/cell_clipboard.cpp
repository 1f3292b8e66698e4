#include "cell_clipboard.h"

#include <functional>
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

// Calls `visit` with each input cell a paste from (col, row) reaches and the field that lands
// there, until `visit` returns false.
void ForEachPastedField(const BattleSheet& battleSheet, int col, int row, std::string_view text,
                        const std::function<bool(int, int, std::string_view)>& visit) {
    int target = ShownRowFrom(battleSheet, row);
    for (const std::string& line : SplitLines(text)) {
        if (target > sheet::kLastRow) return;
        int targetCol = col;
        for (std::string_view field : SplitFields(line)) {
            if (sheet::IsInputCell(targetCol, target) && !visit(targetCol, target, field)) return;
            ++targetCol;
        }
        target = ShownRowFrom(battleSheet, target + 1);
    }
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

std::string RefusedPaste(const BattleSheet& battleSheet, int col, int row, std::string_view text) {
    std::string refused;
    bool lands = false;
    ForEachPastedField(battleSheet, col, row, text, [&](int, int target, std::string_view field) {
        lands = true;
        const bool wide = target == sheet::kScoreRow;
        const std::string problem = TypedNumberProblem(field, battleSheet.Locale(), wide);
        if (!problem.empty()) refused = "Nothing was pasted: " + problem;
        return problem.empty();
    });
    if (!lands)
        return "Nothing was pasted: no value lands in a Ships column from here. Choose the first cell to fill in "
               "a Ships column, then paste";
    return refused;
}

void PasteCellsText(BattleSheet& battleSheet, int col, int row, std::string_view text) {
    ForEachPastedField(battleSheet, col, row, text, [&](int targetCol, int target, std::string_view field) {
        const bool wide = target == sheet::kScoreRow;
        battleSheet.SetCell(targetCol, target, NormaliseTypedNumber(field, battleSheet.Locale(), wide));
        return true;
    });
    battleSheet.Recalculate();
}

}  // namespace kestrin
