#include "ship_stats_file.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "atomic_file.h"
#include "ini_file.h"
#include "number_text.h"

namespace kestrin {

namespace {

constexpr std::string_view kGeneralSection = "General";
constexpr std::string_view kPaBattleConstantKey = "PaBattleConstant";

ShipField FieldAt(int number) { return static_cast<ShipField>(number); }

// "the sections [Harpy], [Phoenix] are missing: ...": a cut-off file loses its last ones.
std::string MissingSectionsNote(const std::vector<std::string>& names) {
    if (names.size() == static_cast<std::size_t>(kShipCount))
        return "it holds no unit type's section: every unit type has its built-in statistics";
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "[" : ", [") + name + "]";
    if (names.size() == 1) return "the section " + list + " is missing: its built-in statistics are used";
    return "the sections " + list + " are missing: their built-in statistics are used";
}

}  // namespace

std::filesystem::path ShipStatsPath(const std::filesystem::path& executableDir) {
    return executableDir / "ShipStats.ini";
}

std::string WriteDefaultShipStats(const std::filesystem::path& path) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    IniFile file;
    file.Write(kGeneralSection, kPaBattleConstantKey, std::to_string(kDefaultPaBattleConstant));
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        for (int field = 0; field < kShipFieldCount; ++field)
            file.Write(defaults.Name(ship), FieldName(FieldAt(field)),
                       defaults.Field(ship, FieldAt(field)));
    // The user is told only which file could not be written, whatever the system's reason.
    if (!SaveFileAtomically(path, file.Serialize()).empty())
        return "Unable to write to " + path.string();
    return {};
}

ShipStatsLoad LoadShipStats(const std::filesystem::path& path) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    // Only a file known to be missing is written; one that cannot be examined is left
    // to the reader, which reports why.
    std::error_code statusError;
    const auto type = std::filesystem::status(path, statusError).type();
    if (type == std::filesystem::file_type::not_found) {
        // Without a file the built-in table still lets the program calculate.
        if (std::string error = WriteDefaultShipStats(path); !error.empty())
            return {defaults, std::move(error), false, {}};
    }
    IniText read = ReadIniText(path);
    if (!read.error.empty()) return {defaults, std::move(read.error), true, {}};
    ShipStatsLoad load{defaults, {}, false, {}};
    load.catalogue = ReadShipStats(read.text, &load.notes);
    return load;
}

namespace {

// Fills a catalogue from a statistics file's entries, visited in file order, the first of
// each section and key winning as a look-up would find it. One pass over the file: a
// look-up per statistic cost more than all the rest of start-up.
class StatsCollector {
public:
    StatsCollector() : catalogue_(DefaultShipCatalogue()) {}

    void operator()(std::string_view section, std::string_view key, std::string_view value) {
        if (section.data() != section_.data() || section.size() != section_.size()) FindShip(section);
        if (ship_ < 0) {
            if (!constant_ && IniNamesMatch(section, kGeneralSection) && IniNamesMatch(key, kPaBattleConstantKey))
                constant_ = value;
            return;
        }
        // Keys usually come in field order: the search starts after the last key found.
        for (int step = 1; step <= kShipFieldCount; ++step) {
            const int field = (lastField_ + step) % kShipFieldCount;
            if (!IniNamesMatch(key, FieldName(FieldAt(field)))) continue;
            if (!read_[ship_].test(field)) catalogue_.ships[ship_].fields[field] = value;
            read_[ship_].set(field);
            lastField_ = field;
            return;
        }
    }

    ShipCatalogue Catalogue() && {
        catalogue_.paBattleConstant = ParseInt32(constant_.value_or("")).value_or(kDefaultPaBattleConstant);
        return std::move(catalogue_);
    }

    /// What the file lacked or held unreadable, one line each; the catalogue has the built-in
    /// values there. A file without a single statistic is one line, not fifty-five.
    std::vector<std::string> Notes() const {
        if (!constant_ && std::none_of(read_.begin(), read_.end(), [](const auto& r) { return r.any(); }))
            return {"it holds no statistics: every value is the built-in one"};
        std::vector<std::string> notes;
        const std::string constant = "[General] " + std::string(kPaBattleConstantKey);
        const std::string builtIn = std::to_string(kDefaultPaBattleConstant);
        if (!constant_) notes.push_back(constant + " is missing: " + builtIn + " is used");
        else if (!ParseInt32(*constant_))
            notes.push_back(constant + " '" + ShortenedForMessage(*constant_) + "' is not a whole number: " +
                            builtIn + " is used");
        std::vector<std::string> missingSections;
        for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
            const std::string& name = DefaultShipCatalogue().Name(ship);
            if (read_[ship].none()) {
                missingSections.push_back(name);
            } else if (!read_[ship].all()) {
                std::string lacking;
                for (int field = 0; field < kShipFieldCount; ++field)
                    if (!read_[ship].test(field))
                        lacking += (lacking.empty() ? "" : ", ") + std::string(FieldName(FieldAt(field)));
                notes.push_back("[" + name + "] lacks " + lacking + ": the built-in values are used");
            }
        }
        if (!missingSections.empty()) notes.push_back(MissingSectionsNote(missingSections));
        return notes;
    }

private:
    // A type's section is found by its default name, so a renamed type keeps its values.
    void FindShip(std::string_view section) {
        section_ = section;
        ship_ = -1;
        for (ShipIndex i = 0; i < kShipCount && ship_ < 0; ++i)
            if (IniNamesMatch(section, DefaultShipCatalogue().Name(i))) ship_ = i;
    }

    ShipCatalogue catalogue_;
    std::optional<std::string_view> constant_;
    std::array<std::bitset<kShipFieldCount>, kShipCount> read_{};
    std::string_view section_;  // the section of the last entry (a view: one header, one view)
    ShipIndex ship_ = -1;       // its type; -1 for the general section or any other
    int lastField_ = kShipFieldCount - 1;
};

}  // namespace

ShipCatalogue ReadShipStats(std::string_view text, std::vector<std::string>* notes) {
    StatsCollector collector;
    ForEachIniEntry(text, std::ref(collector));
    if (notes != nullptr) *notes = collector.Notes();
    return std::move(collector).Catalogue();
}

ShipCatalogue ReadShipStats(const IniFile& file, std::vector<std::string>* notes) {
    StatsCollector collector;
    file.ForEachEntry(std::ref(collector));
    if (notes != nullptr) *notes = collector.Notes();
    return std::move(collector).Catalogue();
}

}  // namespace kestrin
