// Reading and checking the solve command's JSON call.
#include <cmath>
#include <limits>
#include <optional>
#include <set>

#include "solve_command.h"

namespace kestrin {

namespace {

// A call is an object of arrays of numbers; anything nested much deeper is no call, and
// building it would only exhaust the stack.
constexpr int kJsonDepthLimit = 32;

constexpr double kShipsLimit = 2147483647.0;

struct NumberRule {
    const char* key;
    const char* requirement;  // for the message
    bool (*allowed)(double);
};

// The values the battle simulation can hand the solver; anything else is no call of it and
// could drive its integer arithmetic past its range.
constexpr NumberRule kShips{"ships", "whole numbers from 0 to 2147483647",
                            [](double x) { return x >= 0 && x <= kShipsLimit && x == std::floor(x); }};
constexpr NumberRule kKillRates{"killRates", "finite numbers, none negative",
                                [](double x) { return std::isfinite(x) && x >= 0; }};
constexpr NumberRule kDamage{"damage", "numbers from 0 up to but not including 1",
                             [](double x) { return x >= 0 && x < 1; }};

std::optional<std::vector<double>> ReadNumbers(const Json& input, const NumberRule& rule) {
    const auto found = input.find(rule.key);
    if (found == input.end() || !found->is_array()) return std::nullopt;
    std::vector<double> numbers;
    numbers.reserve(found->size());
    for (const Json& item : *found) {
        if (!item.is_number() || !rule.allowed(item.get<double>())) return std::nullopt;
        numbers.push_back(item.get<double>());
    }
    return numbers;
}

std::string NumbersMessage(const NumberRule& rule) {
    return "\"" + std::string(rule.key) + "\" must be an array of " + rule.requirement;
}

// Only a whole number within the 64-bit range; the parser keeps non-negative integers unsigned.
std::optional<std::int64_t> ReadShots(const Json& input) {
    const auto found = input.find("shots");
    if (found == input.end() || !found->is_number_unsigned()) return std::nullopt;
    const auto value = found->get<std::uint64_t>();
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

std::optional<SolverVariant> ReadVariant(const Json& input) {
    const auto found = input.find("variant");
    if (found == input.end()) return SolverVariant::New;
    if (*found == "new") return SolverVariant::New;
    if (*found == "old") return SolverVariant::Old;
    return std::nullopt;
}

SolveCallRead Failure(std::string message) { return SolveCallRead{{}, std::move(message)}; }

// What the parser's callback saw: too deep a nesting, or a key of the call given twice
// (the library would silently keep the last).
struct JsonShape {
    bool tooDeep = false;
    std::string repeatedKey;
    std::set<std::string> keys;
};

Json ParseCall(std::string_view text, JsonShape& shape) {
    const auto watch = [&shape](int depth, Json::parse_event_t event, Json& parsed) {
        if (depth > kJsonDepthLimit) {
            shape.tooDeep = true;
            return false;  // dropped, so nothing that deep is ever built
        }
        if (event == Json::parse_event_t::key && depth == 1 && shape.repeatedKey.empty() &&
            !shape.keys.insert(parsed.get<std::string>()).second)
            shape.repeatedKey = parsed.get<std::string>();
        return true;
    };
    return Json::parse(text.begin(), text.end(), watch, false);
}

}  // namespace

SolveCallRead ReadSolveCall(std::string_view text) {
    JsonShape shape;
    const Json input = ParseCall(text, shape);
    if (shape.tooDeep)
        return Failure("The input is nested deeper than " + std::to_string(kJsonDepthLimit) + " levels");
    if (input.is_discarded()) return Failure("The input is not valid JSON");
    if (!input.is_object()) return Failure("The input must be a JSON object");
    if (!shape.repeatedKey.empty()) return Failure("\"" + shape.repeatedKey + "\" is given more than once");
    auto ships = ReadNumbers(input, kShips);
    if (!ships) return Failure(NumbersMessage(kShips));
    auto killRates = ReadNumbers(input, kKillRates);
    if (!killRates) return Failure(NumbersMessage(kKillRates));
    auto damage = ReadNumbers(input, kDamage);
    if (!damage) return Failure(NumbersMessage(kDamage));
    if (ships->size() != killRates->size() || ships->size() != damage->size())
        return Failure("\"ships\", \"killRates\" and \"damage\" must have the same length");
    const std::optional<std::int64_t> shots = ReadShots(input);
    if (!shots) return Failure("\"shots\" must be a whole number from 0 to 9223372036854775807");
    const std::optional<SolverVariant> variant = ReadVariant(input);
    if (!variant) return Failure("\"variant\" must be \"new\" or \"old\"");
    SolveCall call{std::move(*ships), std::move(*killRates), std::move(*damage), *shots, *variant};
    return SolveCallRead{std::move(call), {}};
}

}  // namespace kestrin
