#include "catalogue_check.h"

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "combat_tables.h"
#include "number_text.h"

namespace kestrin {

namespace {

enum class NumberKind { None, Integer, Decimal };

// How the combat rules convert each statistic; the others are names, classes or shown only.
NumberKind KindOf(ShipField field) {
    switch (field) {
        case ShipField::Guns:
        case ShipField::Power:
        case ShipField::Armor:
        case ShipField::Metal:
        case ShipField::Crystal:
        case ShipField::Eonium: return NumberKind::Integer;
        case ShipField::Agility:
        case ShipField::WpnSpd:
        case ShipField::EMPRes: return NumberKind::Decimal;
        default: return NumberKind::None;
    }
}

// Problems name the type by its default name: that is the section the user has to edit.
std::string DefaultName(ShipIndex ship) { return DefaultShipCatalogue().Name(ship); }

std::string Problem(ShipIndex ship, ShipField field, std::string_view what) {
    return DefaultName(ship) + ": " + std::string(FieldName(field)) + " " + std::string(what);
}

std::string Quoted(std::string_view text) { return "'" + ShortenedForMessage(text) + "'"; }

// The combat rules compute in extended precision but keep kill rates as doubles: a
// statistic beyond the double range would make them infinite.
bool FitsDouble(Extended value) {
    return Fabs(value) <= static_cast<Extended>(std::numeric_limits<double>::max());
}

// "a, b, c".
void AppendListItem(std::string& list, std::string_view item) {
    if (!list.empty()) list += ", ";
    list += item;
}

void CheckNumbers(CatalogueCheck& check) {
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        for (int number = 0; number < kShipFieldCount; ++number) {
            const auto field = static_cast<ShipField>(number);
            std::string& text = check.catalogue.ships[ship][field];
            const NumberKind kind = KindOf(field);
            std::string what;
            if (kind == NumberKind::Integer) {
                if (!ParseInt32(text)) what = NotAnIntegerMessage(ShortenedForMessage(text));
            } else if (kind == NumberKind::Decimal) {
                const std::optional<Extended> value = ParseDecimal(text);
                if (!value) what = NotAFloatMessage(ShortenedForMessage(text));
                else if (!FitsDouble(*value)) what = Quoted(text) + " is out of range";
            }
            if (what.empty()) continue;
            check.problems.push_back(Problem(ship, field, what));
            text = DefaultShipCatalogue().Field(ship, field);
        }
    }
}

void CheckInitiative(CatalogueCheck& check) {
    std::vector<std::string> found;
    std::array<std::vector<ShipIndex>, kShipCount> holders;
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        const std::string& text = check.catalogue.Field(ship, ShipField::Initiative);
        // Only the texts the firing order is built from give a type its place.
        if (const std::optional<int> value = InitiativeSlot(text))
            holders[*value].push_back(ship);
        else
            found.push_back(Problem(ship, ShipField::Initiative,
                                    Quoted(text) + " is not a whole number from 0 to 53"));
    }
    for (int value = 0; value < kShipCount; ++value) {
        const std::string initiative = "Initiative " + std::to_string(value);
        if (holders[value].empty()) found.push_back(initiative + " is held by no unit type");
        if (holders[value].size() < 2) continue;
        std::string names;
        for (ShipIndex ship : holders[value]) AppendListItem(names, DefaultName(ship));
        found.push_back(names + ": " + initiative + " is held by more than one unit type");
    }
    if (found.empty()) return;
    // A single fixed value could not repair a permutation, so the whole order is replaced.
    check.problems.insert(check.problems.end(), found.begin(), found.end());
    check.problems.push_back(
        "Initiative: every unit type uses its built-in value, since each of 0 to 53 must be "
        "held by exactly one");
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        check.catalogue.ships[ship][ShipField::Initiative] =
            DefaultShipCatalogue().Field(ship, ShipField::Initiative);
}

// A Name is how reports, the rows and kestrin-cli's fleets name a type: two types of one Name
// could not be told apart. A renamed type could take another's built-in name, so a single type
// put back could clash again: every Name is put back, as for the firing order.
void CheckNames(CatalogueCheck& check) {
    std::map<std::string, std::vector<ShipIndex>> holders;
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) holders[check.catalogue.Name(ship)].push_back(ship);
    bool shared = false;
    // In the order of the types, so that the problems read as the file does.
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        const std::vector<ShipIndex>& sharing = holders[check.catalogue.Name(ship)];
        if (sharing.size() < 2 || sharing.front() != ship) continue;
        std::string names;
        for (ShipIndex holder : sharing) AppendListItem(names, DefaultName(holder));
        check.problems.push_back(names + ": Name " + Quoted(check.catalogue.Name(ship)) +
                                 " is held by more than one unit type");
        shared = true;
    }
    if (!shared) return;
    check.problems.push_back("Name: every unit type uses its built-in name, since each must have a name of its own");
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        check.catalogue.ships[ship][ShipField::Name] = DefaultName(ship);
}

bool HasTarget(const ShipRecord& record) {
    return record[ShipField::T1] != "-" || record[ShipField::T2] != "-" ||
           record[ShipField::T3] != "-";
}

// The kill rate divides Armor by Power for every type that fires and is not EMP.
void CheckPower(CatalogueCheck& check) {
    const ShipCatalogue& defaults = DefaultShipCatalogue();
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        ShipRecord& record = check.catalogue.ships[ship];
        if (record[ShipField::ShipType] == "EMP" || !HasTarget(record)) continue;
        if (ParseInt32(record[ShipField::Power]).value_or(0) > 0) continue;
        std::string problem = Problem(ship, ShipField::Power,
                                      Quoted(record[ShipField::Power]) +
                                          " must be above 0 for a unit type that fires");
        record[ShipField::Power] = defaults[ship][ShipField::Power];
        if (ParseInt32(record[ShipField::Power]).value_or(0) <= 0) {
            // The built-in Power is 0 only where the built-in type fires no destroying shots,
            // so its built-in targets and behaviour go back with it.
            std::string reset;
            for (ShipField field :
                 {ShipField::T1, ShipField::T2, ShipField::T3, ShipField::ShipType}) {
                if (record[field] == defaults[ship][field]) continue;
                AppendListItem(reset, FieldName(field));
                record[field] = defaults[ship][field];
            }
            if (!reset.empty()) problem += "; reset as well, as its built-in Power is 0: " + reset;
        }
        check.problems.push_back(std::move(problem));
    }
}

// Shots divide Armor by the firer's Power into hits per ship: a type with no armour would
// be destroyed by a fraction of a hit, an infinite kill rate. Any type can be a target.
void CheckArmor(CatalogueCheck& check) {
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        std::string& armor = check.catalogue.ships[ship][ShipField::Armor];
        if (ParseInt32(armor).value_or(0) > 0) continue;
        check.problems.push_back(Problem(ship, ShipField::Armor, Quoted(armor) + " must be above 0"));
        armor = DefaultShipCatalogue().Field(ship, ShipField::Armor);
    }
}

}  // namespace

CatalogueCheck CheckShipCatalogue(const ShipCatalogue& catalogue) {
    CatalogueCheck check{catalogue, {}};
    // Numbers first: the Power rule reads Power as an integer.
    CheckNumbers(check);
    CheckInitiative(check);
    CheckNames(check);
    CheckPower(check);
    CheckArmor(check);
    return check;
}

std::string CatalogueProblemsMessage(const std::vector<std::string>& problems) {
    if (problems.empty()) return {};
    std::string message =
        "The statistics file has values the battle rules cannot use; the built-in values are "
        "used instead:";
    for (const std::string& problem : problems) message += "\n  " + problem;
    return message;
}

}  // namespace kestrin
