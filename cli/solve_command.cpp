#include "solve_command.h"

#include <istream>
#include <iterator>
#include <limits>
#include <optional>

#include "bailout_counter.h"

namespace kestrin {

namespace {

// The numbers of array `key`, or nothing when it is missing, not an array, holds a value
// that is not a number, or (with `nonNegative`) a negative number.
std::optional<std::vector<double>> ReadNumbers(const Json& input, const char* key, bool nonNegative) {
    const auto found = input.find(key);
    if (found == input.end() || !found->is_array()) return std::nullopt;
    std::vector<double> numbers;
    numbers.reserve(found->size());
    for (const Json& item : *found) {
        if (!item.is_number()) return std::nullopt;
        const double value = item.get<double>();
        if (nonNegative && !(value >= 0)) return std::nullopt;
        numbers.push_back(value);
    }
    return numbers;
}

std::optional<std::int64_t> ReadShots(const Json& input) {
    const auto found = input.find("shots");
    if (found == input.end()) return std::nullopt;
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    if (found->is_number_integer()) return found->get<std::int64_t>();
    return std::nullopt;
}

std::optional<SolverVariant> ReadVariant(const Json& input) {
    const auto found = input.find("variant");
    if (found == input.end()) return SolverVariant::New;
    if (*found == "new") return SolverVariant::New;
    if (*found == "old") return SolverVariant::Old;
    return std::nullopt;
}

SolveCallRead Failure(std::string message) { return SolveCallRead{{}, std::move(message)}; }

}  // namespace

SolveCallRead ReadSolveCall(std::string_view text) {
    const Json input = Json::parse(text.begin(), text.end(), nullptr, false);
    if (input.is_discarded()) return Failure("The input is not valid JSON");
    if (!input.is_object()) return Failure("The input must be a JSON object");
    SolveCall call;
    auto ships = ReadNumbers(input, "ships", true);
    if (!ships) return Failure("\"ships\" must be an array of numbers, none negative");
    auto killRates = ReadNumbers(input, "killRates", true);
    if (!killRates) return Failure("\"killRates\" must be an array of numbers, none negative");
    auto damage = ReadNumbers(input, "damage", false);
    if (!damage) return Failure("\"damage\" must be an array of numbers");
    if (ships->size() != killRates->size() || ships->size() != damage->size())
        return Failure("\"ships\", \"killRates\" and \"damage\" must have the same length");
    const std::optional<std::int64_t> shots = ReadShots(input);
    if (!shots) return Failure("\"shots\" must be a 64-bit integer");
    const std::optional<SolverVariant> variant = ReadVariant(input);
    if (!variant) return Failure("\"variant\" must be \"new\" or \"old\"");
    call.ships = std::move(*ships);
    call.killRates = std::move(*killRates);
    call.damage = std::move(*damage);
    call.shots = *shots;
    call.variant = *variant;
    return SolveCallRead{std::move(call), {}};
}

Json SolveJson(const SolveCall& call) {
    const std::size_t count = call.ships.size();
    // The solver leaves its outputs untouched when it has nothing to do: start them as the
    // caller of a firing does.
    std::vector<std::int64_t> kills(count, 0);
    std::vector<std::int64_t> shotsAllocated(count, 0);
    std::vector<double> damage = call.damage;
    std::int64_t availableShots = call.shots;
    int cycles = 0;
    double g = 0;
    BailoutCounter bailouts;
    const SolverSettings settings{call.variant, nullptr, nullptr, &bailouts};
    AllocateShots(call.ships, call.killRates, kills, damage, availableShots, cycles, g,
                  shotsAllocated, settings);
    Json result = Json::object();
    result["kills"] = kills;
    result["damage"] = damage;
    result["shotsAllocated"] = shotsAllocated;
    result["availableShots"] = availableShots;
    result["cycles"] = cycles;
    result["G"] = g;
    result["bailout"] = bailouts.Count() > 0;
    return result;
}

int RunSolve(std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return ReportError(err, "Unable to read the standard input", kExitFailure);
    const SolveCallRead read = ReadSolveCall(text);
    if (!read.error.empty()) return ReportError(err, read.error, kExitUsage);
    return WriteOutput(out, err, DumpJson(SolveJson(read.call)) + "\n");
}

}  // namespace kestrin
