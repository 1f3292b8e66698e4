#pragma once

#include <QImage>
#include <QSize>

#include <vector>

namespace kestrin {

/// One bisection cycle as the plot shows it.
struct DtPlotPoint {
    double g = 0;
    double resultingShots = 0;
};

/// What the plot of a solver search shows, as read back from the trace display.
struct DtPlotData {
    double availableShots = 0;
    double shotsToKillAll = 0;
    /// The vertical extent: the shots to kill all, or 1 when the display shows none.
    double verticalRange = 1.0;
    std::vector<DtPlotPoint> cycles;
};

/// Draws the plot of a search into a new image of `size`: black ground, grey axes, the
/// available shots in yellow, a blue mark at the shots to kill all and a green plus per
/// cycle. G runs along x (0..1 over ten twelfths of the width), shots along y.
QImage DrawDtPlot(QSize size, const DtPlotData& data);

}  // namespace kestrin
