// The sheet as both faces show it: its layout, each cell's colours and text, the input cells'
// names and the results panel's entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "sheet/battle_document.h"
#include "sheet/panel_entries.h"
#include "sheet/sheet_inputs.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_style.h"
#include "sheet/sheet_view.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// The layout's sides are exactly the cells the sheet takes input in, and their captions are
// in the caption columns the layout names.
TEST(SheetView, LayoutNamesTheSheetsInputCellsAndCaptions) {
    const SheetFixture f;
    const SheetGridLayout& layout = GridLayoutOfSheet();
    ASSERT_EQ(layout.sides.size(), 2u);
    for (int row = 0; row < layout.rows; ++row) {
        for (int col = 0; col < layout.columns; ++col) {
            int taking = 0;
            for (const SideLayout& side : layout.sides)
                taking += col == side.inputColumn && row >= side.firstInputRow && row <= side.lastInputRow;
            EXPECT_EQ(taking == 1, IsInputCell(col, row)) << col << "," << row;
            EXPECT_LE(taking, 1);
        }
    }
    for (const SideLayout& side : layout.sides) {
        EXPECT_EQ(side.inputColumn, ShipsColumn(side.side));
        EXPECT_NE(std::find(layout.captionColumns.begin(), layout.captionColumns.end(), side.captionColumn),
                  layout.captionColumns.end());
        for (int row = side.firstInputRow; row <= side.lastInputRow; ++row)
            EXPECT_EQ(f.sheet.Cells().At(side.captionColumn, row), RowCaption(f.sheet.Cells(), side.side, row));
    }
    EXPECT_EQ(std::set<int>(layout.raceLines.begin(), layout.raceLines.end()),
              std::set<int>(kBlockEnds.begin(), kBlockEnds.end()));
}

// An input's name is its caption, side and "ships"; a row without a caption (a planetary
// defence on the attacker's side) is named by its number. The rows that take a count leave
// out the computed totals only.
TEST(SheetView, InputNamesAndCountRows) {
    const SheetFixture f;
    const SheetCells& cells = f.sheet.Cells();
    EXPECT_EQ(InputLabel(cells, Side::Attacker, UnitRow(0)), "Harpy attacker ships");
    EXPECT_EQ(InputLabel(cells, Side::Defender, kFirstRoidRow), "Uninit. Roids defender ships");
    EXPECT_EQ(InputLabel(cells, Side::Attacker, UnitRow(kFirstPds)),
              "row " + std::to_string(UnitRow(kFirstPds)) + " attacker ships");
    for (const Side side : {Side::Defender, Side::Attacker}) {
        const std::vector<CountRow> rows = CountRows(cells, side);
        const int totals = kFleetValueRow - kTotalUnitsRow + 1;
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kLastRow - kFirstUnitRow + 1 - totals));
        for (const CountRow& row : rows) {
            EXPECT_FALSE(IsTotalsRow(row.row)) << row.row;
            EXPECT_EQ(row.caption, RowCaption(cells, side, row.row));
        }
        EXPECT_EQ(rows.front().row, kFirstUnitRow);
        EXPECT_EQ(rows.back().row, kScoreRow);
    }
}

// Backgrounds: caption columns in the side's colour, the headings and fleet totals shaded,
// the rest ShipBgd. Texts in their column's colour, the report view's Stole and Left columns
// in the Held and Lost colours, their figures in parentheses.
TEST(SheetView, CellColoursAndTheReportView) {
    EXPECT_EQ(CellBackground(kDefCaption, 20), SheetColour::DefBgd);
    EXPECT_EQ(CellBackground(kAttCaption, 20), SheetColour::AttBgd);
    EXPECT_EQ(CellBackground(kDefLeft, kHeadingRow), SheetColour::DefBgd);
    EXPECT_EQ(CellBackground(kAttShips, kFleetValueRow), SheetColour::AttBgd);
    EXPECT_EQ(CellBackground(kAttShips, kFirstRoidRow), SheetColour::ShipBgd);
    EXPECT_EQ(CellBackground(kDefHeld, 20), SheetColour::ShipBgd);
    const SheetColour plain[kColumns] = {
        SheetColour::DefFont, SheetColour::DefShipsFont, SheetColour::DefHeldFont, SheetColour::DefLostFont,
        SheetColour::DefStealFont, SheetColour::DefLeftFont, SheetColour::AttFont, SheetColour::AttShipsFont,
        SheetColour::AttHeldFont, SheetColour::AttLostFont, SheetColour::AttStealFont, SheetColour::AttLeftFont};
    for (int col = 0; col < kColumns; ++col) {
        EXPECT_EQ(CellTextColour(col, false), plain[col]) << col;
        const bool reportColumn = col == kDefStole || col == kDefLeft || col == kAttStole || col == kAttLeft;
        if (!reportColumn) {
            EXPECT_EQ(CellTextColour(col, true), plain[col]) << col;
        }
    }
    EXPECT_EQ(CellTextColour(kDefStole, true), SheetColour::DefHeldFont);
    EXPECT_EQ(CellTextColour(kDefLeft, true), SheetColour::DefLostFont);
    EXPECT_EQ(CellTextColour(kAttStole, true), SheetColour::AttHeldFont);
    EXPECT_EQ(CellTextColour(kAttLeft, true), SheetColour::AttLostFont);

    SheetCells cells;
    cells.Set(kAttStole, 3, "12000");
    cells.Set(kAttHeld, 3, "12000");
    EXPECT_EQ(ShownText(cells, kAttStole, 3, true, kFixedLocale), "(12,000)");
    EXPECT_EQ(ShownText(cells, kAttHeld, 3, true, kFixedLocale), "12,000");
    EXPECT_EQ(ShownText(cells, kAttStole, 3, false, kFixedLocale), "12,000");
    EXPECT_EQ(ShownText(cells, kAttStole, 4, true, kFixedLocale), "");
    cells.Set(kAttLeft, kScoreRow, "123456789");
    EXPECT_EQ(ShortenedText(cells, kAttLeft, kScoreRow, true, kFixedLocale, false), "(123,456k)");
    EXPECT_EQ(ShortenedText(cells, kAttLeft, kScoreRow, false, kFixedLocale, true), "123m");
}

// A long text is cut at the longest a cell shows, never inside a character.
TEST(SheetView, LongTextIsCutBeforeACharacter) {
    SheetCells cells;
    cells.Set(kAttShips, 2, std::string(kLongestShownText - 1, 'x') + "\xC3\xA9" + "tail");
    const std::string shown = ShownText(cells, kAttShips, 2, false, kFixedLocale);
    EXPECT_EQ(shown, std::string(kLongestShownText - 1, 'x'));
}

// A notice about an input cell names its side and row; one about the battle as a whole, or
// about a cell that takes no input, names none. Its lines follow its text, one to a line.
TEST(SheetView, NoticesNameTheirInputCell) {
    const NoticeView cell = ViewOfNotice({"'abc' is not a count", kAttShips, 3, {}});
    ASSERT_NE(cell.side, nullptr);
    EXPECT_EQ(cell.side->side, Side::Attacker);
    EXPECT_EQ(cell.row, 3);
    EXPECT_EQ(cell.text, "'abc' is not a count");
    const NoticeView battle = ViewOfNotice({"Lines that are no count:", -1, -1, {"line 3: x", "line 9: y"}});
    EXPECT_EQ(battle.side, nullptr);
    EXPECT_EQ(battle.text, "Lines that are no count:\nline 3: x\nline 9: y");
    EXPECT_EQ(ViewOfNotice({"elsewhere", kAttHeld, 3, {}}).side, nullptr);
    EXPECT_EQ(ViewOfNotice({"heading", kDefShips, kHeadingRow, {}}).side, nullptr);
}

// Every element of the panel once, in kestrin-cli's order, with its own text; the shortened
// boxes carry their full figure, the three changing titles are labels.
TEST(SheetView, PanelEntriesFollowThePanel) {
    ResultsPanel panel;
    std::string* fields[] = {&panel.DLoss, &panel.ALoss, &panel.UR, &panel.MR, &panel.CR, &panel.ER,
                             &panel.TR, &panel.TIR, &panel.ALossPerRoid, &panel.MSalvage, &panel.CSalvage,
                             &panel.ESalvage, &panel.DefLossGainLbl, &panel.AttLossGainLbl,
                             &panel.RoidLossGainLbl, &panel.TickIndicator};
    for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = "text " + std::to_string(i);
    panel.ALossPerRoidFull = "full per roid";
    panel.ESalvageFull = "full eonium";
    const std::vector<PanelEntry> entries = PanelEntries(panel);
    ASSERT_EQ(entries.size(), kPanelKeys.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].key, kPanelKeys[i]);
        EXPECT_EQ(entries[i].text, "text " + std::to_string(i)) << kPanelKeys[i];
        EXPECT_EQ(entries[i].label, entries[i].key.ends_with("Lbl")) << kPanelKeys[i];
        if (entries[i].label) {
            EXPECT_EQ(entries[i].full, "");
        }
    }
    EXPECT_EQ(entries[8].full, "full per roid");
    EXPECT_EQ(entries[11].full, "full eonium");
    EXPECT_EQ(entries[0].full, entries[0].text);
    EXPECT_EQ(PanelTexts(panel).at("TickIndicator"), "text 15");
}

}  // namespace
}  // namespace kestrin
