#include "sheet_cells.h"

#include <charconv>

#include "engine/number_text.h"

namespace kestrin {

std::string CountText(std::int64_t value) { return value == 0 ? std::string() : std::to_string(value); }

void SheetCells::ClearAll() {
    for (auto& column : cells_)
        for (std::string& cell : column) cell.clear();
}

std::int32_t SheetCells::Count(int col, int row) const { return LenientInt32(At(col, row)); }

std::int64_t SheetCells::Int64(int col, int row) const { return LenientInt64(At(col, row)); }

void SheetCells::WriteCount(int col, int row, std::int64_t value) {
    assert(InRange(col, row));
    std::string& cell = cells_[col][row];
    if (value == 0) {
        cell.clear();
        return;
    }
    // Short numbers fit the string's own buffer: no allocation in the recalculation.
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    cell.assign(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace kestrin
