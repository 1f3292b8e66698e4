#include "sheet_view.h"

#include "sheet/battle_document.h"
#include "sheet/sheet_inputs.h"
#include "sheet/sheet_layout.h"

namespace kestrin {

using namespace sheet;

namespace {

SideLayout LayoutOf(Side side) {
    return SideLayout{side, side == Side::Defender ? "defender" : "attacker", ShipsColumn(side), SideOffset(side),
                      kFirstUnitRow, kLastRow};
}

}  // namespace

const SheetGridLayout& GridLayoutOfSheet() {
    static const SheetGridLayout layout{kRows,
                                        kColumns,
                                        kHeadingRow,
                                        {kDefCaption, kAttCaption},
                                        std::vector<int>(kBlockEnds.begin(), kBlockEnds.end()),
                                        {LayoutOf(Side::Defender), LayoutOf(Side::Attacker)}};
    return layout;
}

std::string InputLabel(const SheetCells& cells, Side side, int row) {
    const std::string& caption = RowCaption(cells, side, row);
    const std::string name = caption.empty() ? "row " + std::to_string(row) : caption;
    return name + (side == Side::Defender ? " defender ships" : " attacker ships");
}

std::vector<CountRow> CountRows(const SheetCells& cells, Side side) {
    std::vector<CountRow> rows;
    for (int row = kFirstUnitRow; row <= kLastRow; ++row)
        if (!IsTotalsRow(row)) rows.push_back({row, RowCaption(cells, side, row)});
    return rows;
}

NoticeView ViewOfNotice(const DocumentNotice& notice) {
    NoticeView view{notice.text};
    for (const std::string& line : notice.lines) view.text += "\n" + line;
    for (const SideLayout& side : GridLayoutOfSheet().sides) {
        if (notice.col == side.inputColumn && notice.row >= side.firstInputRow && notice.row <= side.lastInputRow) {
            view.side = &side;
            view.row = notice.row;
        }
    }
    return view;
}

}  // namespace kestrin
