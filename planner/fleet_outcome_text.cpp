#include "fleet_outcome_text.h"

#include <limits>

namespace kestrin {

FleetOutcomeWords FleetOutcomeText(const FleetSearchResult& result, const std::vector<VariedRow>& rows,
                                   const NumberLocale& locale) {
    const std::string tried = FormatNumber(result.evaluations, locale);
    const std::string space = FleetCountText(rows, locale);
    if (!result.meetsLimits) {
        const std::string lead = "No fleet keeps the limits";
        if (result.exhaustive) return {lead, ": all " + space + " were tried.", true};
        return {lead,
                " among the " + tried + " of " + space + " tried" + (result.cancelled ? " before Cancel" : "") +
                    "; a fleet not tried may keep them.",
                true};
    }
    if (result.cancelled) return {"Best fleet so far", " (cancelled after " + tried + " of " + space + "): not proven the best."};
    if (result.exhaustive) return {"Best fleet", " of all " + space + "."};
    return {"Best fleet found", " in " + tried + " evaluations of " + space + ": the best found, not proven the best."};
}

std::string FleetProgressText(std::int64_t done, std::int64_t planned, const NumberLocale& locale) {
    return "Fleets evaluated: " + FormatNumber(done, locale) + " of " + FormatNumber(planned, locale);
}

std::string FleetCountText(const std::vector<VariedRow>& rows, const NumberLocale& locale) {
    return (FleetSpaceBeyondRange(rows) ? "more than " : "") + FormatNumber(FleetSpaceSize(rows), locale) + " fleets";
}

std::string FleetSpaceText(const std::vector<VariedRow>& rows, const NumberLocale& locale) {
    std::string text = FleetCountText(rows, locale);
    text += FleetSpaceSize(rows) <= kExhaustiveFleets ? ": every one is tried"
                                                       : ", too many to try each: the evaluations are spent on a search";
    // "more than ..." opens the sentence.
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace kestrin
