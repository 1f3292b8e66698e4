#include "sweep_axes.h"

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

// A figure this many times smaller than the largest on its axis would be a flat line there.
constexpr double kFlattening = 20;

double X(std::int64_t value) { return static_cast<double>(value); }

}  // namespace

int FindingFigure(FindingKind kind) {
    switch (kind) {
        case FindingKind::MostInitRoids: return kInitRoidsFigure;
        case FindingKind::LowestLossPerRoid: return kAttackerPerRoidFigure;
        case FindingKind::DefenderWiped: return kDefenderChangeFigure;
    }
    return 0;
}

ValueRange FiguresRange(std::span<const SweepFigures> plotted, std::span<const int> figures) {
    std::vector<double> values;
    for (int figure : figures)
        for (const SweepFigures& f : plotted)
            if (FigureDefined(figure, f)) values.push_back(X(kSweepFigures[figure].value(f)));
    return values.empty() ? ValueRange{} : ShownRange(std::move(values));
}

AxisScale FiguresAxis(std::span<const SweepFigures> plotted, std::span<const int> figures,
                      const SweepFindings& findings) {
    ValueRange range = FiguresRange(plotted, figures);
    for (int k = 0; k < kFindingCount; ++k) {
        const std::optional<SweepFinding>& finding = findings[k];
        if (!finding || std::find(figures.begin(), figures.end(), FindingFigure(static_cast<FindingKind>(k))) == figures.end()) continue;
        range.low = std::min(range.low, X(finding->figure));
        range.high = std::max(range.high, X(finding->figure));
    }
    return NiceScale(range.low, range.high);
}

std::vector<std::vector<int>> AxisGroups(std::span<const SweepFigures> plotted, std::span<const int> shown) {
    const auto size = [&](int figure) {
        const ValueRange range = FiguresRange(plotted, std::span(&figure, 1));
        return std::max(std::abs(range.low), std::abs(range.high));
    };
    double largest = 0;
    for (int figure : shown)
        if (!kSweepFigures[figure].roids) largest = std::max(largest, size(figure));
    std::vector<std::vector<int>> groups(3);
    for (int figure : shown) {
        const bool small = size(figure) * kFlattening < largest;
        groups[kSweepFigures[figure].roids ? 2 : small ? 1 : 0].push_back(figure);
    }
    std::erase_if(groups, [](const std::vector<int>& group) { return group.empty(); });
    return groups;
}

}  // namespace kestrin
