#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

/// Number of unit types; every per-type array is indexed by ShipIndex 0..53.
inline constexpr int kShipCount = 54;

/// Position of a unit type in the catalogue (0..53).
using ShipIndex = int;

/// The two sides of a battle; the value doubles as an array index.
enum class Side { Defender = 0, Attacker = 1 };

/// The side opposite to `side`.
constexpr Side Other(Side side) { return side == Side::Defender ? Side::Attacker : Side::Defender; }

/// Array index of a side.
constexpr int Idx(Side side) { return static_cast<int>(side); }

/// The 19 statistics of a unit type, in file order; the names are the file's keys.
enum class ShipField {
    Name, Race, Class, T1, T2, T3, Initiative, Agility, WpnSpd, Guns, Power, Armor,
    EMPRes, Metal, Crystal, Eonium, Fuel, ETA, ShipType
};

/// Number of statistics per unit type.
inline constexpr int kShipFieldCount = 19;

/// Key name of a statistic ("Name", "Race", ... "ShipType").
std::string_view FieldName(ShipField field);

/// The race blocks, by fixed index ranges (never from the Race field): Ter 0-11, Cat 12-23,
/// Xan 24-35, Zik 36-47, then the AstroPod 48 and the five PDS 49-53, which belong to no race.
inline constexpr int kRaceCount = 4;
/// Unit types per race block.
inline constexpr int kRaceBlockSize = 12;
/// The AstroPod, which follows the Zik block.
inline constexpr ShipIndex kAstroPod = kRaceCount * kRaceBlockSize;
/// The first of the PDS, which close the catalogue.
inline constexpr ShipIndex kFirstPds = kAstroPod + 1;
/// First unit type of race block `race` (0 Ter, 1 Cat, 2 Xan, 3 Zik).
constexpr ShipIndex FirstOfRace(int race) { return race * kRaceBlockSize; }
/// Last unit type of race block `race`.
constexpr ShipIndex LastOfRace(int race) { return FirstOfRace(race) + kRaceBlockSize - 1; }

/// One unit type's statistics, held as text exactly as read.
struct ShipRecord {
    std::array<std::string, kShipFieldCount> fields;

    /// The text of one statistic.
    const std::string& operator[](ShipField field) const { return fields[static_cast<int>(field)]; }
    /// The text of one statistic, for writing.
    std::string& operator[](ShipField field) { return fields[static_cast<int>(field)]; }
};

/// Default value of `PaBattleConstant`.
inline constexpr int kDefaultPaBattleConstant = 25;

/// The 54 unit types with their statistics and the battle constant.
struct ShipCatalogue {
    std::array<ShipRecord, kShipCount> ships;
    int paBattleConstant = kDefaultPaBattleConstant;

    /// The record of a unit type.
    const ShipRecord& operator[](ShipIndex index) const { return ships[index]; }
    /// One statistic of a unit type.
    const std::string& Field(ShipIndex index, ShipField field) const { return ships[index][field]; }
    /// The display name of a unit type.
    const std::string& Name(ShipIndex index) const { return ships[index][ShipField::Name]; }
};

/// The built-in default table.
const ShipCatalogue& DefaultShipCatalogue();

}  // namespace kestrin
