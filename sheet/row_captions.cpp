#include "row_captions.h"

#include <array>

#include "sheet/sheet_layout.h"

namespace kestrin {

namespace {

using namespace sheet;

// Captions of rows 55..65, defender's then attacker's.
constexpr int kFirstComputedRow = kTotalUnitsRow;
constexpr std::array<const char*, kRows - kFirstComputedRow> kDefCaptions = {
    "Total Units", "Metal Cost", "Crystal Cost", "Eonium Cost", "Fleet Value", "Uninit. Roids",
    "Metal Roids", "Crystal Roids", "Eonium Roids", "Defender E", "Planet Score"};
constexpr std::array<const char*, kRows - kFirstComputedRow> kAttCaptions = {
    "Total Units", "Metal Cost", "Crystal Cost", "Eonium Cost", "Fleet Value", "Uninit. Roids",
    "Metal Roids", "Crystal Roids", "Eonium Roids", "E Captured", "Planet Score"};

}  // namespace

std::string_view RowCaption(const ShipCatalogue& catalogue, Side side, int row) {
    if (row >= kFirstUnitRow && row <= kLastUnitRow) {
        const ShipIndex type = row - kFirstUnitRow;
        if (side == Side::Attacker && catalogue.Field(type, ShipField::ShipType) == "PDS") return {};
        return catalogue.Name(type);
    }
    if (row < kFirstComputedRow || row >= kRows) return {};
    return (side == Side::Defender ? kDefCaptions : kAttCaptions)[row - kFirstComputedRow];
}

}  // namespace kestrin
