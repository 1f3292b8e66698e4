#include "battle_file_problems.h"

#include <optional>

#include "engine/number_text.h"
#include "sheet/row_captions.h"
#include "sheet/sheet_inputs.h"
#include "sheet/sheet_layout.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

// The score row holds a 64-bit figure; every other input cell a 32-bit count.
std::optional<std::int64_t> ReadAsTheSheetDoes(std::string_view text, int row) {
    if (row == sheet::kScoreRow) return ParseInt64(text);
    if (const std::optional<std::int32_t> count = ParseInt32(text)) return *count;
    return std::nullopt;
}

// Digits with a sign that overflow are a count too large, not text.
bool IsSignedDigits(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// What became of the cell, judged by what the recalculation left in it.
std::string CellFate(std::string_view written, const std::string& now) {
    if (now.empty()) return "the cell was emptied";
    if (now == written) return "the text was kept";
    return "the cell now holds '" + ShortenedForMessage(now) + "'";
}

// Why the line is a problem and what became of it; nothing when the sheet reads it as written.
std::optional<std::string> Judge(std::string_view text, int row, const std::string& now) {
    if (text.empty()) return std::nullopt;
    const std::optional<std::int64_t> value = ReadAsTheSheetDoes(text, row);
    if (value && *value >= 0) return std::nullopt;
    if (value) {
        // The simulation takes a negative count as none of that kind.
        const std::string counts = IsUnitRow(row) ? "it fights as no ships" : "it counts as none";
        return "is a negative count: " + counts + (now.empty() ? " and the cell was emptied" : "");
    }
    const std::string what = IsSignedDigits(text) ? "is too large a count" : "is not a count";
    return what + ": it counts as 0 and " + CellFate(text, now);
}

// A tab or another control character would not show in a message: it is named instead.
std::string Visible(std::string_view text) {
    std::string shown;
    for (const char c : ShortenedForMessage(text)) {
        if (c == '\t') shown += "<tab>";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) shown += '?';
        else shown += c;
    }
    return shown;
}

// The row as the sheet's caption column names it, or where the cells carry no captions (a
// file read without a sheet), by the built-in names. The attacker has no caption for a
// planetary defence, so the row takes the defender's name.
std::string Place(const SheetCells& cells, Side side, int row) {
    const bool captioned = !RowCaption(cells, Side::Defender, row).empty();
    const auto caption = [&](Side of) -> std::string_view {
        return captioned ? std::string_view(RowCaption(cells, of, row)) : RowCaption(DefaultShipCatalogue(), of, row);
    };
    const std::string_view own = caption(side);
    return std::string(side == Side::Defender ? "defender's " : "attacker's ") +
           std::string(own.empty() ? caption(Side::Defender) : own);
}

// Calls `visit(side, row)` for each input cell a battle file's line fills and the sheet reads.
template <typename Visit>
void ForEachJudgedCell(Visit visit) {
    for (int row = sheet::kFirstUnitRow; row <= sheet::kLastRow; ++row) {
        if (IsTotalsRow(row)) continue;
        for (const Side side : {Side::Defender, Side::Attacker}) visit(side, row);
    }
}

}  // namespace

SheetCells CountsAsTyped(const SheetCells& written) {
    SheetCells read = written;
    ForEachJudgedCell([&](Side side, int row) {
        // A file's separators are the fixed ones, whatever the machine's settings.
        const TypedNumber count = ReadTypedNumber(InputText(written, side, row), kFixedLocale, row == sheet::kScoreRow);
        if (count.kind == TypedNumberKind::Count) read.Set(sheet::ShipsColumn(side), row, count.text);
    });
    return read;
}

std::vector<BattleFileProblem> FindBattleFileProblems(const SheetCells& written, const SheetCells& read,
                                                      const SheetCells& recalculated) {
    std::vector<BattleFileProblem> problems;
    ForEachJudgedCell([&](Side side, int row) {
        const std::string& text = InputText(written, side, row);
        const std::string& count = InputText(read, side, row);
        std::optional<std::string> judged = Judge(count, row, InputText(recalculated, side, row));
        // A count written another way than plain digits is told as read, once.
        if (!judged && count != text) judged = "is read as " + (count.empty() ? std::string("an empty cell") : count);
        if (judged) {
            // Line 2r - 1 holds the defender's cell of row r, line 2r the attacker's.
            const int line = 2 * row - (side == Side::Defender ? 1 : 0);
            problems.push_back({line, text, Place(recalculated, side, row), *judged});
        }
    });
    return problems;
}

std::string BattleFileProblemText(const BattleFileProblem& problem) {
    return "line " + std::to_string(problem.line) + " (" + problem.place + "): '" +
           Visible(problem.text) + "' " + problem.became;
}

}  // namespace kestrin
