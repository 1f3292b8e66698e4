#include "web_session.h"

#include <cstdio>
#include <vector>

#include "kept_battle.h"
#include "parser/apply_reports.h"
#include "settings/appearance.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "sheet/panel_entries.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_style.h"
#include "sheet/sheet_view.h"
#include "sheet/text_lines.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

PageJson NameOrNull(const char* name) { return name != nullptr ? PageJson(name) : PageJson(nullptr); }

// A sheet colour by its appearance colour's key ("DefBgd"): the same colour by position.
static_assert(kSheetColourCount == kAppearanceColourCount);
std::string ColourKey(SheetColour colour) { return std::string(AppearanceKey(static_cast<AppearanceColour>(colour))); }

// The grid's shape, its sides' input rows with their accessible names, and the rows that take
// a count with their captions.
PageJson LayoutJson(const SheetCells& cells) {
    const SheetGridLayout& grid = GridLayoutOfSheet();
    PageJson sides = PageJson::array();
    for (const SideLayout& side : grid.sides) {
        PageJson inputs = PageJson::array();
        for (int row = side.firstInputRow; row <= side.lastInputRow; ++row)
            inputs.push_back({{"row", row}, {"label", InputLabel(cells, side.side, row)}});
        PageJson counts = PageJson::array();
        for (const CountRow& count : CountRows(cells, side.side))
            counts.push_back({{"row", count.row}, {"caption", count.caption}});
        sides.push_back({{"side", side.name},
                         {"column", side.inputColumn},
                         {"captionColumn", side.captionColumn},
                         {"firstRow", side.firstInputRow},
                         {"lastRow", side.lastInputRow},
                         {"inputs", std::move(inputs)},
                         {"countRows", std::move(counts)}});
    }
    PageJson layout;
    layout["rows"] = grid.rows;
    layout["cols"] = grid.columns;
    layout["headingRow"] = grid.headingRow;
    layout["captionColumns"] = grid.captionColumns;
    layout["raceLines"] = grid.raceLines;
    layout["gridLineColour"] = ColourKey(SheetColour::Gridlines);
    layout["raceLineColour"] = ColourKey(SheetColour::Racelines);
    layout["sides"] = std::move(sides);
    return layout;
}

}  // namespace

WebSession::WebSession(const BattleRules& rules) : document_(rules, context_, kFixedLocale) {
    context_.DecimalSeparator = kFixedLocale.decimalSeparator;
    document_.AddView(this);
    document_.Recalculate();
}

void WebSession::Notice(const DocumentNotice& notice) {
    const NoticeView shown = ViewOfNotice(notice);
    notice_ = shown.text;
    noticeSide_ = shown.side;
    noticeRow_ = shown.row;
}

PageJson WebSession::View() const {
    const SheetCells& cells = sheet_.Cells();
    const bool reportView = sheet_.ReportView();
    PageJson stored = PageJson::array(), shown = PageJson::array(), background = PageJson::array(), colour = PageJson::array();
    for (int row = 0; row < sheet::kRows; ++row) {
        PageJson rowStored = PageJson::array(), rowShown = PageJson::array(), rowBackground = PageJson::array(),
             rowColour = PageJson::array();
        for (int col = 0; col < sheet::kColumns; ++col) {
            rowStored.push_back(cells.At(col, row));
            rowShown.push_back(sheet::ShownText(cells, col, row, reportView, sheet_.Locale()));
            rowBackground.push_back(ColourKey(sheet::CellBackground(col, row)));
            rowColour.push_back(ColourKey(sheet::CellTextColour(col, reportView)));
        }
        stored.push_back(std::move(rowStored));
        shown.push_back(std::move(rowShown));
        background.push_back(std::move(rowBackground));
        colour.push_back(std::move(rowColour));
    }
    PageJson panel = PageJson::object(), panelFull = PageJson::object();
    for (const PanelEntry& entry : PanelEntries(sheet_.Results())) {
        const std::string key(entry.key);
        panel[key] = entry.text;
        if (!entry.label) panelFull[key] = entry.full;
    }
    PageJson view;
    view["tick"] = sheet_.CurrentTick();
    view["reportView"] = reportView;
    view["layout"] = LayoutJson(cells);
    view["cells"] = std::move(stored);
    view["shown"] = std::move(shown);
    view["background"] = std::move(background);
    view["colour"] = std::move(colour);
    view["panel"] = std::move(panel);
    view["panelFull"] = std::move(panelFull);
    view["undo"] = NameOrNull(document_.UndoName());
    view["redo"] = NameOrNull(document_.RedoName());
    view["canUndo"] = document_.CanUndo();
    view["canRedo"] = document_.CanRedo();
    view["notice"] = notice_;
    view["noticeCell"] = noticeSide_ != nullptr ? PageJson{{"side", noticeSide_->name}, {"row", noticeRow_}} : PageJson(nullptr);
    return view;
}

PageJson WebSession::Changed() {
    PageJson view = View();
    notice_.clear();
    noticeSide_ = nullptr;
    return view;
}

PageJson WebSession::Type(int col, int row, std::string_view typed) {
    if (sheet::IsInputCell(col, row)) document_.EndEdit(col, row, typed);
    return Changed();
}

PageJson WebSession::Spin(int col, int row, int delta) {
    document_.BeginSpin(col, row, *this);
    document_.Spin(delta);
    document_.EndHold();
    return Changed();
}

PageJson WebSession::Delete(int fromCol, int fromRow, int toCol, int toRow) {
    document_.Delete(CellRange::Spanning(fromCol, fromRow, toCol, toRow));
    return Changed();
}

PageJson WebSession::UseCounts(Side side, const std::vector<std::pair<int, std::int64_t>>& counts, Step step) {
    if (step == Step::UseThisFleet) document_.UseFleet(counts);
    else if (!counts.empty()) document_.UseValue(side, counts.front().first, counts.front().second);
    return Changed();
}

PageJson WebSession::StepForward() {
    document_.StepForward();
    return Changed();
}

PageJson WebSession::StepBack() {
    document_.StepBack();
    return Changed();
}

PageJson WebSession::Undo() {
    document_.Undo();
    return Changed();
}

PageJson WebSession::Redo() {
    document_.Redo();
    return Changed();
}

PageJson WebSession::ClearAll() {
    document_.ClearAll();
    return Changed();
}

PageJson WebSession::ClearDefender() {
    document_.ClearDefender();
    return Changed();
}

PageJson WebSession::ClearAttacker() {
    document_.ClearAttacker();
    return Changed();
}

PageJson WebSession::Open(std::string_view bytes) { return Opened(document_.OpenBytes(bytes)); }

PageJson WebSession::OpenLink(std::string_view text) { return Opened(document_.OpenLink(text)); }

PageJson WebSession::OpenKept(std::string_view kept) {
    const KeptBattle read = ReadKeptBattle(kept);
    if (!read.error.empty()) return Opened({BattleFileStatus::ReadFailed, read.error, {}});
    return Opened(document_.OpenNewBattle(read.ticks));
}

PageJson WebSession::NewBattle() { return Opened(document_.OpenNewBattle({BattleFileBytes(SheetCells())})); }

PageJson WebSession::Opened(const BattleFileResult& result) {
    if (!result.ok()) notice_ = result.message;
    PageJson view = Changed();
    view["opened"] = result.ok();
    return view;
}

std::string WebSession::Kept() const { return KeptBattleText(document_.BattleTicks()); }

std::string WebSession::Link() const { return BattleLinkFragment(Save()); }

std::string WebSession::Save() const { return BattleFileBytes(sheet_.Cells()); }

PageJson WebSession::ApplyReport(std::string_view kind, std::string_view side, const bool (&fleets)[4],
                             std::string_view text) {
    // A shared link opens as a battle of its own, whichever report kind is chosen.
    if (HoldsBattleLink(text)) return OpenLink(text);
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

PageJson PageTexts() {
    return {{"battleName", "Battle"},
            {"linkName", "Shared battle"},
            {"storageRefused",
             "This browser refuses the page its storage: battles will not be kept when the page closes. "
             "Save them as files or links."},
            {"storageFull",
             "This browser's storage for the page is full: battles will not be kept when the page closes. "
             "Save them as files or links."},
            {"nameTaken", "A battle of that name is kept already: choose another name."},
            {"keptUnreadable", "A battle kept in this browser could not be read; it is kept as it was:"}};
}

PageJson GridStyle() {
    const Appearance appearance = DefaultAppearance();
    PageJson colours;
    for (int i = 0; i < kAppearanceColourCount; ++i) {
        const Rgb rgb = appearance.colours[i];
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", rgb.r, rgb.g, rgb.b);
        colours[std::string(AppearanceKey(static_cast<AppearanceColour>(i)))] = hex;
    }
    PageJson style;
    style["colours"] = std::move(colours);
    // The scan parser's bound, told as the desktop tells it ({count} and {most} are filled in).
    style["report"] = {{"most", kMaxReportCharacters},
                       {"tooLong", "Nothing was pasted: the text holds {count} characters, more than any report "
                                   "(at most {most})."}};
    return style;
}

}  // namespace kestrin
