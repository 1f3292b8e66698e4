#pragma once

#include <array>

#include "engine/ship_catalogue.h"

namespace kestrin {

/// The BattleSheet's 12 columns and 66 rows: Cells[col, row].
namespace sheet {

/// Number of columns, 0..11: defender 0..5, attacker 6..11.
inline constexpr int kColumns = 12;
/// Number of rows, 0..65.
inline constexpr int kRows = 66;

/// Defender's columns: captions, Ships (input), Held, Lost, Stole, Left.
inline constexpr int kDefCaption = 0, kDefShips = 1, kDefHeld = 2, kDefLost = 3, kDefStole = 4,
                     kDefLeft = 5;
/// Attacker's columns: captions, Ships (input), Held, Lost, Stole, Left.
inline constexpr int kAttCaption = 6, kAttShips = 7, kAttHeld = 8, kAttLost = 9, kAttStole = 10,
                     kAttLeft = 11;

/// The headings row.
inline constexpr int kHeadingRow = 0;
/// First and last unit row; unit type i is in row i + 1.
inline constexpr int kFirstUnitRow = 1, kLastUnitRow = kShipCount;
/// The computed totals rows.
inline constexpr int kTotalUnitsRow = 55, kMetalCostRow = 56, kCrystalCostRow = 57,
                     kEoniumCostRow = 58, kFleetValueRow = 59;
/// The four asteroid rows, uninitiated, metal, crystal, eonium.
inline constexpr int kFirstRoidRow = 60;
/// The Eonium row.
inline constexpr int kEoniumRow = 64;
/// The planet score row (64-bit).
inline constexpr int kScoreRow = 65;
/// The last row.
inline constexpr int kLastRow = kRows - 1;

/// The sheet row of a unit type.
constexpr int UnitRow(ShipIndex index) { return index + kFirstUnitRow; }

/// The input column of a side (1 or 7).
constexpr int ShipsColumn(Side side) { return side == Side::Defender ? kDefShips : kAttShips; }

/// Whether (col, row) takes typed, spun or pasted input: the Ships columns below the headings.
constexpr bool IsInputCell(int col, int row) {
    return (col == kDefShips || col == kAttShips) && row >= kFirstUnitRow && row <= kLastRow;
}

/// The last rows of the blocks a race line closes: headings, Ter, Cat, Xan, Zik, AstroPod,
/// PDS, fleet totals, asteroids, Eonium and score.
inline constexpr std::array<int, 10> kBlockEnds{
    kHeadingRow,           UnitRow(LastOfRace(0)), UnitRow(LastOfRace(1)),
    UnitRow(LastOfRace(2)), UnitRow(LastOfRace(3)), UnitRow(kAstroPod),
    kLastUnitRow,          kFleetValueRow,         kEoniumRow - 1,
    kScoreRow};

/// First column of a side's block (0 or 6); Ships, Held, Lost, Stole and Left follow it.
constexpr int SideOffset(Side side) { return side == Side::Defender ? 0 : 6; }

}  // namespace sheet
}  // namespace kestrin
