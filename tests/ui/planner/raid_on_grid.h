#pragma once

#include <string>

#include "sheet/document_test_seam.h"
#include "ui/main/main_window.h"

namespace kestrin::testing {

/// Puts a raid on the main window's grid and recalculates: the defender's 3,000 of row 1 and
/// 800 of row 13 over asteroids of 100, 150, 200 and 250; the attacker's 150 of row 12 and
/// 900 AstroPods (row 49).
inline void PutRaidOnGrid(TForm1& window) {
    BattleSheet& sheet = DocumentTestSeam::Sheet(window.Document());
    sheet.SetCell(sheet::kDefShips, 1, "3000");
    sheet.SetCell(sheet::kDefShips, 13, "800");
    sheet.SetCell(sheet::kAttShips, 12, "150");
    sheet.SetCell(sheet::kAttShips, 49, "900");
    for (int k = 0; k < 4; ++k) sheet.SetCell(sheet::kDefShips, sheet::kFirstRoidRow + k, std::to_string(100 + 50 * k));
    window.ReCalc();
}

}  // namespace kestrin::testing
