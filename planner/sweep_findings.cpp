#include "sweep_findings.h"

#include "engine/saturating.h"

namespace kestrin {

namespace {

constexpr std::array<const char*, kFindingCount> kFindingKeys{"mostInitRoids", "lowestLossPerRoid", "defenderWiped"};

// The fleet value the defender had when the point's battle began (row 59 of column 1).
std::int64_t DefenderValueAtStart(const SweepPoint& point) {
    const SweepFigures& first = point.ticks.front();
    return SaturatingSub(first.defenderValueLeft, first.results.DLoss);
}

bool DefenderWipedOut(const SweepPoint& point) {
    return DefenderValueAtStart(point) > 0 && point.ticks.back().defenderValueLeft <= 0;
}

}  // namespace

SweepFigures PlottedFigures(const SweepPoint& point, PlotMode mode) {
    return mode == PlotMode::WholeBattle ? WholeBattleFigures(point.ticks) : point.ticks.back();
}

void FindingsTally::Add(const SweepPoint& point) {
    ++added_;
    if (point.ticks.empty()) return;
    for (int m = 0; m < kPlotModeCount; ++m) {
        const SweepFigures plotted = PlottedFigures(point, static_cast<PlotMode>(m));
        for (int k = 0; k < kFindingCount; ++k) Offer(best_[m][k], point, plotted, static_cast<FindingKind>(k));
    }
}

// Keeps `point` when it makes a strictly better finding than the one so far: points come in
// ascending value order, so a tie keeps the smaller value.
void FindingsTally::Offer(std::optional<Best>& best, const SweepPoint& point, const SweepFigures& plotted,
                          FindingKind kind) {
    const ResultFigures& r = plotted.results;
    bool better = false;
    switch (kind) {
        case FindingKind::MostInitRoids:
            better = r.TIR >= 1 && (!best || r.TIR > best->roids);
            if (!better && best && !best->finding.falls && r.TIR < best->roids) best->finding.falls = {point.value, r.TIR};
            break;
        case FindingKind::LowestLossPerRoid:
            // The change per asteroid is negative for a loss: the lowest loss is the largest
            // change / asteroids, compared exactly as change * other's asteroids.
            better = r.TIR >= 1 && (!best || Int128{r.ALoss} * best->roids > Int128{best->change} * r.TIR);
            break;
        case FindingKind::DefenderWiped: better = !best && DefenderWipedOut(point); break;
    }
    if (!better) return;
    const std::int64_t figure = kind == FindingKind::MostInitRoids       ? r.TIR
                                : kind == FindingKind::LowestLossPerRoid ? r.ALossPerRoid
                                                                         : r.DLoss;
    if (!best) best = Best{{point.value, figure}, r.ALoss, r.TIR, SweepPoint{point.value, {}}};
    best->finding = {point.value, figure};
    best->change = r.ALoss;
    best->roids = r.TIR;
    // Assigned, not rebuilt: the vector's room is reused when a finding improves often.
    best->point.value = point.value;
    best->point.ticks = point.ticks;
}

SweepFindings FindingsTally::Findings(PlotMode mode) const {
    SweepFindings found;
    for (int k = 0; k < kFindingCount; ++k)
        if (const std::optional<Best>& best = best_[static_cast<int>(mode)][k]) found[k] = best->finding;
    return found;
}

const SweepPoint* FindingsTally::Point(PlotMode mode, FindingKind kind) const {
    const std::optional<Best>& best = best_[static_cast<int>(mode)][static_cast<int>(kind)];
    return best ? &best->point : nullptr;
}

SweepFindings FindSweepFindings(std::span<const SweepPoint> points, PlotMode mode) {
    FindingsTally tally;
    for (const SweepPoint& point : points) tally.Add(point);
    return tally.Findings(mode);
}

std::uint64_t WholeValuesInRange(std::int64_t from, std::int64_t to) {
    if (to < from) return 0;
    // The span in unsigned arithmetic: it may exceed the 64-bit signed range.
    const std::uint64_t span = static_cast<std::uint64_t>(to) - static_cast<std::uint64_t>(from);
    return span < kMaxExactFindingValues ? span + 1 : kMaxExactFindingValues + 1;
}

FindingsPass RunFindingsPass(const BattleRules& rules, const SweepRequest& request, const SweepControl& control) {
    FindingsPass pass;
    SweepControl folding = control;
    // Handed on in value order, one at a time: the tally needs no lock.
    folding.pointFinished = [&pass](const SweepPoint& point) { pass.tally.Add(point); };
    pass.partial = RunSweep(rules, request, folding).partial;
    return pass;
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
            return "Most init. roids captured: " + figure + ", from " + at +
                   (finding->falls ? " (falls to " + FormatNumber(finding->falls->figure, locale) + " at " +
                                         FormatNumber(finding->falls->value, locale) + ")"
                                   : " (more adds nothing)");
        case FindingKind::LowestLossPerRoid: return "Lowest attacker loss per init. roid: " + figure + ", at " + at;
        case FindingKind::DefenderWiped:
            return "Defender left with no fleet value from " + at + " (defender change " + figure + ")";
    }
    return {};
}

std::string FindingsScopeText(bool exact, std::span<const std::int64_t> values, const NumberLocale& locale) {
    const std::string from = FormatNumber(values.front(), locale), to = FormatNumber(values.back(), locale);
    if (exact) return "every value from " + from + " to " + to + " tried";
    // A sweep cancelled after its first point has no spacing to speak of.
    if (values.size() == 1) return "over the one point " + from + " only: no other value was tried";
    // The points are evenly spaced, each rounded to a whole value.
    const Int128 span = Int128{values.back()} - values.front();
    const auto gaps = static_cast<Int128>(values.size() - 1);
    const std::string step = FormatNumber(SaturatingInt64(span / gaps), locale);
    return "over the " + FormatNumber(static_cast<std::int64_t>(values.size()), locale) + " points only, " +
           (span % gaps == 0 ? "" : "about ") + step + " apart: the values between them were not tried";
}

std::string FindingsPendingText(std::span<const std::int64_t> values, const NumberLocale& locale) {
    return "over the " + FormatNumber(static_cast<std::int64_t>(values.size()), locale) +
           " points so far: trying every value from " + FormatNumber(values.front(), locale) + " to " +
           FormatNumber(values.back(), locale) + "...";
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
