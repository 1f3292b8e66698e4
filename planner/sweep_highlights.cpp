#include "sweep_highlights.h"

namespace kestrin {

SweepHighlights FindHighlights(std::span<const SweepFigures> points) {
    SweepHighlights h;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ResultFigures& r = points[i].results;
        // The change per asteroid is negative for a loss: the lowest loss is the largest.
        if (r.TIR >= 1 && (!h.bestPerRoid || r.ALossPerRoid > points[*h.bestPerRoid].results.ALossPerRoid))
            h.bestPerRoid = i;
        // Asteroids lost by the defender are the attacker's captures, shown negative.
        if (r.TR < 0 && (!h.mostRoids || r.TR < points[*h.mostRoids].results.TR)) h.mostRoids = i;
    }
    return h;
}

}  // namespace kestrin
