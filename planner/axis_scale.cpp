#include "axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrin {

AxisScale NiceScale(double low, double high) {
    if (high < low) std::swap(low, high);
    if (high - low < 1) {
        if (high <= 0 && low < 0) low = high - 1;
        else high = low + 1;
    }
    const double raw = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw) {
            step = factor * power;
            break;
        }
    }
    step = std::max(step, 1.0);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

ValueRange ShownRange(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t last = values.size() - 1;
    // Below 20 values a percentile is the end itself: nothing is left out.
    const double lowCut = values[last / 20], highCut = values[last - last / 20];
    const double width = highCut - lowCut;
    // The smallest and largest values within the widened range.
    ValueRange range{*std::lower_bound(values.begin(), values.end(), lowCut - width),
                     *(std::upper_bound(values.begin(), values.end(), highCut + width) - 1)};
    const double span = range.high - range.low;
    const double fromZero = range.low > 0 ? range.low : range.high < 0 ? -range.high : 0;
    if (span == 0 || fromZero <= 2 * span) {
        range.low = std::min(range.low, 0.0);
        range.high = std::max(range.high, 0.0);
    }
    return range;
}

std::vector<double> ScaleTicks(const AxisScale& scale) {
    std::vector<double> ticks;
    const long long count = std::llround((scale.max - scale.min) / scale.step);
    for (long long i = 0; i <= count; ++i) ticks.push_back(scale.min + static_cast<double>(i) * scale.step);
    return ticks;
}

std::string AxisLabel(double value, const NumberLocale& locale) {
    const auto whole = static_cast<std::int64_t>(std::llround(value));
    const std::int64_t size = std::llabs(whole);
    // FormatShortened divides by a thousand above 9,999, and again when still above.
    const std::int64_t divisor = size <= 9999 ? 1 : size / 1000 <= 9999 ? 1000 : 1000000;
    return whole % divisor == 0 ? FormatShortened(whole, locale) : FormatNumber(whole, locale);
}

}  // namespace kestrin
