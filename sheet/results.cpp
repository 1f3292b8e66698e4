#include "results.h"

#include "engine/saturating.h"

namespace kestrin {

namespace {

const char* ChangeTitle(std::int64_t change) { return change > 0 ? "Fleet Gains" : "Fleet Losses"; }

}  // namespace

PanelSources ReadPanelSources(const SheetCells& cells,
                              const std::array<std::int32_t, kRoidKinds>& roidsCaptured) {
    using namespace sheet;
    PanelSources s;
    s.defShipsValue = cells.Int64(kDefShips, kFleetValueRow);
    s.defLeftValue = cells.Int64(kDefLeft, kFleetValueRow);
    s.attShipsValue = cells.Int64(kAttShips, kFleetValueRow);
    s.attLeftValue = cells.Int64(kAttLeft, kFleetValueRow);
    s.defLostMetal = cells.Int64(kDefLost, kMetalCostRow);
    s.defLostCrystal = cells.Int64(kDefLost, kCrystalCostRow);
    s.defLostEonium = cells.Int64(kDefLost, kEoniumCostRow);
    s.roidsCaptured = roidsCaptured;
    return s;
}

ResultFigures ComputeResultFigures(const PanelSources& s) {
    const auto& captured = s.roidsCaptured;
    const std::array<std::int64_t, kRoidKinds> c = {captured[0], captured[1], captured[2], captured[3]};
    ResultFigures f;
    f.UR = -c[0];
    f.MR = -c[1];
    f.CR = -c[2];
    f.ER = -c[3];
    f.TIR = c[1] + c[2] + c[3];
    f.TR = -(c[0] + c[1] + c[2] + c[3]);
    f.DLoss = SaturatingSub(s.defLeftValue, s.defShipsValue);
    f.ALoss = SaturatingSub(s.attLeftValue, s.attShipsValue);
    f.ALossPerRoid = f.TIR < 1 ? 0 : f.ALoss / f.TIR;
    f.MSalvage = s.defLostMetal / 4;
    f.CSalvage = s.defLostCrystal / 4;
    f.ESalvage = s.defLostEonium / 4;
    return f;
}

void FillResultsPanel(const ResultFigures& f, const NumberLocale& locale, ResultsPanel& panel) {
    panel.UR = FormatNumber(f.UR, locale);
    panel.MR = FormatNumber(f.MR, locale);
    panel.CR = FormatNumber(f.CR, locale);
    panel.ER = FormatNumber(f.ER, locale);
    panel.TIR = FormatNumber(f.TIR, locale);
    panel.TR = FormatNumber(f.TR, locale);
    panel.DLoss = FormatNumber(f.DLoss, locale);
    panel.ALoss = FormatNumber(f.ALoss, locale);
    panel.DefLossGainLbl = ChangeTitle(f.DLoss);
    panel.AttLossGainLbl = ChangeTitle(f.ALoss);
    if (f.TIR < 1) {
        panel.ALossPerRoid = "0";
        panel.RoidLossGainLbl = f.ALoss > 0 ? "Gain per" : "Loss per";
    } else {
        // The shortened figure keeps the sign of P, so deciding on P is the same.
        panel.ALossPerRoid = FormatShortened(f.ALossPerRoid, locale);
        panel.RoidLossGainLbl = f.ALossPerRoid > 0 ? "Gain per" : "Loss per";
    }
    panel.MSalvage = FormatShortened(f.MSalvage, locale);
    panel.CSalvage = FormatShortened(f.CSalvage, locale);
    panel.ESalvage = FormatShortened(f.ESalvage, locale);
    panel.ALossPerRoidFull = FormatNumber(f.ALossPerRoid, locale);
    panel.MSalvageFull = FormatNumber(f.MSalvage, locale);
    panel.CSalvageFull = FormatNumber(f.CSalvage, locale);
    panel.ESalvageFull = FormatNumber(f.ESalvage, locale);
}

std::string TickIndicatorText(std::int64_t tick) { return "Tick " + std::to_string(tick); }

}  // namespace kestrin
