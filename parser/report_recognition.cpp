#include "report_recognition.h"

#include <algorithm>
#include <array>

#include "parser/combat_report.h"
#include "parser/military_scan.h"
#include "parser/scan_readers.h"

namespace kestrin {

namespace {

template <typename Figure, std::size_t N>
bool AnyFigure(const std::array<Figure, N>& figures) {
    return std::any_of(figures.begin(), figures.end(), [](Figure figure) { return figure != 0; });
}

bool ScanHasFigures(TextLines lines, const ShipCatalogue& catalogue) {
    PlanetFigures planet;
    ReadPlanetScan(lines, planet);
    return AnyFigure(ReadUnitScan(lines, catalogue)) || planet.Score != 0 || planet.Eonium != 0 ||
           AnyFigure(planet.Roids);
}

bool MilitaryScanHasFigures(TextLines lines, const ShipCatalogue& catalogue) {
    const MilitaryScan scan = ReadMilitaryScan(lines, catalogue);
    return AnyFigure(scan.Home) || AnyFigure(scan.Fleet1) || AnyFigure(scan.Fleet2) || AnyFigure(scan.Fleet3);
}

bool CombatReportHasFigures(TextLines lines, const ShipCatalogue& catalogue) {
    const CombatReport report = ReadCombatReport(lines, catalogue);
    for (const auto* figures : {&report.AttackerTotal, &report.AttackerLost, &report.AttackerHeld,
                                &report.DefenderTotal, &report.DefenderLost, &report.DefenderHeld}) {
        if (AnyFigure(*figures)) return true;
    }
    return AnyFigure(report.RoidsBefore) || AnyFigure(report.RoidsSecond);
}

}  // namespace

bool ReportHasFigures(TextLines lines, ReportKind kind, const ShipCatalogue& catalogue) {
    switch (kind) {
        case ReportKind::Scan: return ScanHasFigures(lines, catalogue);
        case ReportKind::Military: return MilitaryScanHasFigures(lines, catalogue);
        case ReportKind::Combat: return CombatReportHasFigures(lines, catalogue);
    }
    return false;
}

}  // namespace kestrin
