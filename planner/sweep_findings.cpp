#include "sweep_findings.h"

#include <functional>

namespace kestrin {

namespace {

constexpr std::array<const char*, kFindingCount> kFindingKeys{"mostInitRoids", "lowestLossPerRoid", "defenderWiped"};

// The fleet value the defender had when the point's battle began (row 59 of column 1).
std::int64_t DefenderValueAtStart(const SweepPoint& point) {
    const SweepFigures& first = point.ticks.front();
    return first.defenderValueLeft - first.results.DLoss;
}

// Keeps `candidate` when `better` says it beats the finding so far; the first (smallest
// value) wins ties.
template <typename Better>
void Keep(std::optional<SweepFinding>& finding, const SweepFinding& candidate, Better better) {
    if (!finding || better(candidate.figure, finding->figure)) finding = candidate;
}

}  // namespace

SweepFindings FindSweepFindings(std::span<const SweepPoint> points, std::span<const SweepFigures> plotted) {
    SweepFindings found;
    auto& [most, perRoid, wiped] = found;
    for (std::size_t i = 0; i < points.size() && i < plotted.size(); ++i) {
        const ResultFigures& r = plotted[i].results;
        const std::int64_t value = points[i].value;
        if (r.TIR >= 1) {
            Keep(most, {i, value, r.TIR}, std::greater<>());
            // The change per asteroid is negative for a loss: the lowest loss is the largest.
            Keep(perRoid, {i, value, r.ALossPerRoid}, std::greater<>());
        }
        const bool defenderGone = !points[i].ticks.empty() && DefenderValueAtStart(points[i]) > 0 &&
                                  points[i].ticks.back().defenderValueLeft <= 0;
        if (defenderGone && !wiped) wiped = SweepFinding{i, value, r.DLoss};
    }
    return found;
}

std::string FindingText(FindingKind kind, const std::optional<SweepFinding>& finding, const std::string& input,
                        const NumberLocale& locale) {
    if (!finding) {
        switch (kind) {
            case FindingKind::MostInitRoids: return "No value captures an initiated asteroid";
            case FindingKind::LowestLossPerRoid: return "No loss per init. roid: nothing initiated is captured";
            case FindingKind::DefenderWiped: return "No value leaves the defender without a fleet";
        }
    }
    const std::string figure = FormatNumber(finding->figure, locale);
    const std::string at = input + " = " + FormatNumber(finding->value, locale);
    switch (kind) {
        case FindingKind::MostInitRoids:
            return "Most init. roids captured: " + figure + ", from " + at + " (more adds nothing)";
        case FindingKind::LowestLossPerRoid: return "Lowest attacker loss per init. roid: " + figure + ", at " + at;
        case FindingKind::DefenderWiped:
            return "Defender left with no fleet value from " + at + " (defender change " + figure + ")";
    }
    return {};
}

std::string FindingsCsv(const SweepFindings& findings) {
    std::string text = "\nfinding,value,figure\n";
    for (int k = 0; k < kFindingCount; ++k) {
        if (!findings[k]) continue;
        text += std::string(kFindingKeys[k]) + "," + std::to_string(findings[k]->value) + "," +
                std::to_string(findings[k]->figure) + "\n";
    }
    return text;
}

}  // namespace kestrin
