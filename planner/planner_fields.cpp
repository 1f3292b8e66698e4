#include "planner_fields.h"

#include <algorithm>
#include <limits>

#include "planner/sweep_range.h"
#include "sheet/row_captions.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

// A whole number typed into the field `label`, or why it is none.
std::string ReadWhole(const std::string& label, const std::string& typed, const NumberLocale& locale, std::int64_t& value) {
    const TypedNumber number = ReadTypedNumber(typed, locale, true);
    if (number.kind != TypedNumberKind::Count || typed.find_first_not_of(" \t") == std::string::npos)
        return label + ": '" + typed + "' is not a whole number";
    value = number.value;
    return {};
}

// A whole number that must fit an int (ticks, evaluations): beyond it the range check says why.
int Narrowed(std::int64_t value) {
    constexpr std::int64_t kMost = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp<std::int64_t>(value, -kMost, kMost));
}

}  // namespace

std::string ReadSweepFields(const SweepFieldTexts& fields, const NumberLocale& locale, SweepRequest& request) {
    // Read as a count typed into the grid is read.
    const TypedNumber from = ReadTypedNumber(fields.from, locale, true);
    const TypedNumber to = ReadTypedNumber(fields.to, locale, true);
    if (from.kind != TypedNumberKind::Count || to.kind != TypedNumberKind::Count) return "From and To take whole numbers";
    SweepRange range{from.value, to.value, 0};
    if (std::string error = ReadWhole("Points", fields.points, locale, range.points); !error.empty()) return error;
    std::int64_t ticks = 0;
    if (std::string error = ReadWhole("Ticks", fields.ticks, locale, ticks); !error.empty()) return error;
    if (std::string error = CheckSweepRange(range, request.input.row); !error.empty()) return error;
    request.ticks = Narrowed(ticks);
    if (std::string error = CheckSweepTicks(request.ticks); !error.empty()) return error;
    request.values = SweepValues(range);
    return {};
}

std::string ReadFleetFields(const ShipCatalogue& catalogue, const FleetFieldTexts& fields, const NumberLocale& locale,
                            FleetSearchRequest& request) {
    request.rows.clear();
    for (const auto& [row, typed] : fields.most) {
        const TypedNumber most = ReadTypedNumber(typed, locale, false);
        if (most.kind != TypedNumberKind::Count || most.value < 0)
            return "Most " + std::string(RowCaption(catalogue, Side::Attacker, row)) + ": '" + typed +
                   "' is not a count from 0 up";
        request.rows.push_back({row, static_cast<std::int32_t>(most.value)});
    }
    std::int64_t value = 0;
    if (std::string error = ReadWhole("Ticks", fields.ticks, locale, value); !error.empty()) return error;
    request.ticks = Narrowed(value);
    if (std::string error = ReadWhole("At least roids", fields.minRoids, locale, value); !error.empty()) return error;
    request.aim.minRoids = value;
    if (std::string error = ReadWhole("Evaluations", fields.evaluations, locale, value); !error.empty()) return error;
    request.evaluations = value;
    request.aim.maxLoss.reset();
    if (fields.maxLoss.find_first_not_of(" \t") != std::string::npos) {
        const TypedNumber loss = ReadTypedNumber(fields.maxLoss, locale, true);
        if (loss.kind != TypedNumberKind::Count) return "Most loss: '" + fields.maxLoss + "' is not a whole number";
        request.aim.maxLoss = loss.value;
    }
    return CheckFleetSearch(catalogue, request);
}

std::string OtherRunningText(std::string_view running) {
    return "The " + std::string(running) + " is running: wait for it or cancel it.";
}

}  // namespace kestrin
