#include "web_session.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/tick_json.h"
#include "parser/apply_reports.h"
#include "settings/appearance.h"
#include "sheet/battle_file.h"
#include "sheet/sheet_layout.h"
#include "sheet/text_lines.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

// What a cell shows: a figure with its thousands separators, any other text as it stands;
// the report view's held and lost figures in parentheses, as the grid draws them.
std::string ShownText(const BattleSheet& sheet, int col, int row) {
    const SheetCells& cells = sheet.Cells();
    const std::int64_t value = cells.Int64(col, row);
    std::string text = value != 0 ? FormatNumber(value, sheet.Locale()) : cells.At(col, row);
    const bool parenthesised = sheet.ReportView() &&
                               (col == sheet::kDefStole || col == sheet::kDefLeft ||
                                col == sheet::kAttStole || col == sheet::kAttLeft);
    if (parenthesised && !text.empty()) text = "(" + text + ")";
    return text;
}

Json NameOrNull(const char* name) { return name != nullptr ? Json(name) : Json(nullptr); }

}  // namespace

WebSession::WebSession(const BattleRules& rules) : document_(rules, context_, kCliLocale) {
    context_.DecimalSeparator = kCliLocale.decimalSeparator;
    document_.AddView(this);
    document_.Recalculate();
}

void WebSession::Notice(const DocumentNotice& notice) {
    notice_ = notice.text;
    for (const std::string& line : notice.lines) notice_ += "\n" + line;
}

Json WebSession::View() const {
    Json cells = Json::array();
    Json shown = Json::array();
    for (int row = 0; row < sheet::kRows; ++row) {
        Json stored = Json::array();
        Json display = Json::array();
        for (int col = 0; col < sheet::kColumns; ++col) {
            stored.push_back(sheet_.Cell(col, row));
            display.push_back(ShownText(sheet_, col, row));
        }
        cells.push_back(std::move(stored));
        shown.push_back(std::move(display));
    }
    Json view;
    view["tick"] = sheet_.CurrentTick();
    view["reportView"] = sheet_.ReportView();
    view["cells"] = std::move(cells);
    view["shown"] = std::move(shown);
    view["panel"] = PanelJson(PanelTexts(sheet_.Results()));
    view["undo"] = NameOrNull(document_.UndoName());
    view["redo"] = NameOrNull(document_.RedoName());
    view["canUndo"] = document_.CanUndo();
    view["canRedo"] = document_.CanRedo();
    view["notice"] = notice_;
    return view;
}

Json WebSession::Changed() {
    Json view = View();
    notice_.clear();
    return view;
}

Json WebSession::Type(int col, int row, std::string_view typed) {
    if (sheet::IsInputCell(col, row)) document_.EndEdit(col, row, typed);
    return Changed();
}

Json WebSession::Spin(int col, int row, int delta) {
    document_.BeginSpin(col, row, *this);
    document_.Spin(delta);
    document_.EndHold();
    return Changed();
}

Json WebSession::Delete(int fromCol, int fromRow, int toCol, int toRow) {
    document_.Delete(CellRange::Spanning(fromCol, fromRow, toCol, toRow));
    return Changed();
}

Json WebSession::UseCounts(Side side, const std::vector<std::pair<int, std::int64_t>>& counts, Step step) {
    if (step == Step::UseThisFleet) document_.UseFleet(counts);
    else if (!counts.empty()) document_.UseValue(side, counts.front().first, counts.front().second);
    return Changed();
}

Json WebSession::StepForward() {
    document_.StepForward();
    return Changed();
}

Json WebSession::StepBack() {
    document_.StepBack();
    return Changed();
}

Json WebSession::Undo() {
    document_.Undo();
    return Changed();
}

Json WebSession::Redo() {
    document_.Redo();
    return Changed();
}

Json WebSession::ClearAll() {
    document_.ClearAll();
    return Changed();
}

Json WebSession::ClearDefender() {
    document_.ClearDefender();
    return Changed();
}

Json WebSession::ClearAttacker() {
    document_.ClearAttacker();
    return Changed();
}

Json WebSession::Open(std::string_view bytes) {
    const BattleFileResult result = document_.OpenBytes(bytes);
    if (!result.ok()) notice_ = result.message;
    return Changed();
}

std::string WebSession::Save() const { return BattleFileBytes(sheet_.Cells()); }

Json WebSession::ApplyReport(std::string_view kind, std::string_view side, const bool (&fleets)[4],
                             std::string_view text) {
    ReportChoice choice;
    choice.kind = kind == "combat" ? ReportKind::Combat : kind == "military" ? ReportKind::Military : ReportKind::Scan;
    choice.scanSide = choice.militarySide = side == "attacker" ? Side::Attacker : Side::Defender;
    choice.fleets = {fleets[0], fleets[1], fleets[2], fleets[3]};
    const ScanParserOutcome outcome = ScanParserOk(document_, text, choice);
    if (outcome.opened && !outcome.opened->ok()) notice_ = outcome.opened->message;
    if (!outcome.notes.empty()) {
        notice_ = "Counts cut at a separator, added as read:";
        for (const std::string& note : outcome.notes) notice_ += "\n" + note;
    }
    return Changed();
}

Json GridStyle() {
    const Appearance appearance = DefaultAppearance();
    Json colours;
    for (int i = 0; i < kAppearanceColourCount; ++i) {
        const Rgb rgb = appearance.colours[i];
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", rgb.r, rgb.g, rgb.b);
        colours[std::string(AppearanceKey(static_cast<AppearanceColour>(i)))] = hex;
    }
    Json style;
    style["colours"] = std::move(colours);
    style["blockEnds"] = sheet::kBlockEnds;
    return style;
}

Json RunCliCommand(const Json& arguments, std::string_view battleBytes, const std::string& path,
                   const CliHooks& hooks) {
    if (!path.empty()) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(battleBytes.data(), static_cast<std::streamsize>(battleBytes.size()));
    }
    std::vector<std::string> words{"kestrin-cli"};
    for (const auto& argument : arguments) words.push_back(argument.get<std::string>());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(static_cast<int>(words.size()), argv.data(), in, out, err, hooks);
    Json result;
    result["status"] = status;
    result["out"] = out.str();
    result["err"] = err.str();
    return result;
}

}  // namespace kestrin
