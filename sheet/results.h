#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/battle_state.h"
#include "sheet/number_format.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// The figures of the results panel of one recalculation, before formatting.
struct ResultFigures {
    std::int64_t DLoss = 0;         ///< defender's fleet value left minus at the start
    std::int64_t ALoss = 0;         ///< the same for the attacker
    std::int64_t UR = 0;            ///< -uninitiated asteroids captured
    std::int64_t MR = 0;            ///< -metal asteroids captured
    std::int64_t CR = 0;            ///< -crystal asteroids captured
    std::int64_t ER = 0;            ///< -eonium asteroids captured
    std::int64_t TR = 0;            ///< -all asteroids captured
    std::int64_t TIR = 0;           ///< initiated asteroids captured
    std::int64_t ALossPerRoid = 0;  ///< ALoss div TIR; 0 when TIR < 1
    std::int64_t MSalvage = 0;      ///< metal cost of the defender's lost ships div 4
    std::int64_t CSalvage = 0;      ///< crystal, the same
    std::int64_t ESalvage = 0;      ///< eonium, the same

    friend bool operator==(const ResultFigures&, const ResultFigures&) = default;
};

/// The texts of the results panel as displayed; "0" in every box before the first
/// recalculation. The element names are the window's control names.
struct ResultsPanel {
    std::string DLoss = "0", ALoss = "0";
    std::string UR = "0", MR = "0", CR = "0", ER = "0", TR = "0", TIR = "0";
    std::string ALossPerRoid = "0";
    std::string MSalvage = "0", CSalvage = "0", ESalvage = "0";
    std::string DefLossGainLbl = "Fleet Losses";  ///< "Fleet Losses" or "Fleet Gains"
    std::string AttLossGainLbl = "Fleet Losses";  ///< "Fleet Losses" or "Fleet Gains"
    std::string RoidLossGainLbl = "Loss per";     ///< "Loss per" or "Gain per"
    std::string TickIndicator = "Tick 1";         ///< "Tick " and CurrentTick
    /// The shortened boxes' figures in full, for their tooltips.
    std::string ALossPerRoidFull = "0", MSalvageFull = "0", CSalvageFull = "0", ESalvageFull = "0";

    friend bool operator==(const ResultsPanel&, const ResultsPanel&) = default;
};

/// What the panel reads of rows 56..59, as the cells show those rows (0 for an empty cell),
/// and the asteroids captured this tick.
struct PanelSources {
    std::int64_t defShipsValue = 0, defLeftValue = 0;  ///< row 59, columns 1 and 5
    std::int64_t attShipsValue = 0, attLeftValue = 0;  ///< row 59, columns 7 and 11
    std::int64_t defLostMetal = 0, defLostCrystal = 0, defLostEonium = 0;  ///< rows 56..58, column 3
    std::array<std::int32_t, kRoidKinds> roidsCaptured{};
};

/// The sources of the panel read from a recalculated sheet's cells (as 64-bit integers).
PanelSources ReadPanelSources(const SheetCells& cells,
                              const std::array<std::int32_t, kRoidKinds>& roidsCaptured);

/// The panel's figures. Differences saturate at the 64-bit range.
ResultFigures ComputeResultFigures(const PanelSources& sources);

/// The panel's figures from rows 56..59 of a recalculated sheet and the asteroids captured
/// this tick.
inline ResultFigures ComputeResultFigures(const SheetCells& cells,
                                          const std::array<std::int32_t, kRoidKinds>& roidsCaptured) {
    return ComputeResultFigures(ReadPanelSources(cells, roidsCaptured));
}

/// Fills every box and the three changing titles of `panel` from `figures` (the
/// TickIndicator is left as it is). ALossPerRoid and the salvage boxes are k/m shortened.
void FillResultsPanel(const ResultFigures& figures, const NumberLocale& locale, ResultsPanel& panel);

/// ShowResults: FillResultsPanel with the figures of a recalculated sheet.
inline void ShowResults(const SheetCells& cells, const std::array<std::int32_t, kRoidKinds>& roidsCaptured,
                        const NumberLocale& locale, ResultsPanel& panel) {
    FillResultsPanel(ComputeResultFigures(cells, roidsCaptured), locale, panel);
}

/// The TickIndicator's text: "Tick " and the number.
std::string TickIndicatorText(std::int64_t tick);

}  // namespace kestrin
