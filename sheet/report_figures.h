#pragma once

#include <array>
#include <cstdint>

#include "engine/battle_state.h"
#include "engine/ship_catalogue.h"
#include "sheet/undo_step.h"

namespace kestrin {

/// A combat report's figures: per unit type the six figures of its line, and the asteroid
/// rows' first and second figures.
struct CombatReport {
    std::array<std::int32_t, kShipCount> AttackerTotal{};
    std::array<std::int32_t, kShipCount> AttackerLost{};
    std::array<std::int32_t, kShipCount> AttackerHeld{};
    std::array<std::int32_t, kShipCount> DefenderTotal{};
    std::array<std::int32_t, kShipCount> DefenderLost{};
    std::array<std::int32_t, kShipCount> DefenderHeld{};
    std::array<std::int32_t, kRoidKinds> RoidsBefore{};  ///< uninitiated, metal, crystal, eonium
    std::array<std::int32_t, kRoidKinds> RoidsSecond{};
};

/// The planet figures of a sector scan.
struct PlanetFigures {
    std::int64_t Score = 0;
    std::int64_t Eonium = 0;
    std::array<std::int32_t, kRoidKinds> Roids{};  ///< uninitiated, metal, crystal, eonium
};

/// The report kinds of the scan parser.
enum class ReportKind { Scan, Military, Combat };

/// The step to undo a report of this kind is: "Scan Report", "Military Scan", "Combat Report".
Step ReportStep(ReportKind kind);

/// What the scan parser's "OK" puts on the sheet, read from the text before anything changes
/// (a text too large for the memory then leaves the battle as it was).
struct ReportFigures {
    ReportKind kind = ReportKind::Scan;
    /// The side a scan adds to.
    Side side = Side::Defender;
    /// A scan's units, added to `side`'s Ships column.
    std::array<std::int64_t, kShipCount> units{};
    /// A sector scan's planet figures, added to `side`.
    PlanetFigures planet;
    /// A combat report, shown.
    CombatReport combat;
};

}  // namespace kestrin
