#pragma once

#include <string>
#include <vector>

#include "planner/fleet_search.h"
#include "sheet/number_format.h"

namespace kestrin {

/// Best Fleet's answer in words, as both faces show it: `lead` is said first and stressed,
/// `rest` follows it directly.
struct FleetOutcomeWords {
    std::string lead;
    std::string rest;
    /// No fleet keeps the limits: there is no fleet to show or use, and the lead is a warning.
    bool noFleet = false;
};

/// What a search over `rows` found and how sure that is: every fleet tried, the best of
/// those evaluated (not proven best), cancelled, or none that keeps the limits.
FleetOutcomeWords FleetOutcomeText(const FleetSearchResult& result, const std::vector<VariedRow>& rows,
                                   const NumberLocale& locale);

/// "N fleets" in the space of `rows`; beyond the 64-bit range "more than ... fleets".
std::string FleetCountText(const std::vector<VariedRow>& rows, const NumberLocale& locale);

/// What a search over `rows` will do: "N fleets: every one is tried", or that they are too
/// many to try each and the evaluations are spent on a search.
std::string FleetSpaceText(const std::vector<VariedRow>& rows, const NumberLocale& locale);

/// How far a search has come: "Fleets evaluated: 1,200 of 10,000".
std::string FleetProgressText(std::int64_t done, std::int64_t planned, const NumberLocale& locale);

/// What the Best Fleet page adds to an answer for another battle than the one shown.
inline constexpr const char* kFleetOutOfDate = "Out of date: the battle changed since. Find the best fleet again to use one.";

/// What the planner's chart title adds when its sweep was for another battle.
inline constexpr const char* kSweepOutOfDate = "out of date: the battle has changed";

/// What the Best Fleet page says before any search and while nothing is ticked.
inline constexpr const char* kBestFleetHint = "Tick the rows to vary, choose a goal and press \"Find Best Fleet\".";

}  // namespace kestrin
