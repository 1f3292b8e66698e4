// Any statistics file: parsed, read into a catalogue with what it lacks told, checked, and
// turned into combat tables that must then be complete, every type with a name of its own; the
// text is also read directly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/ini_file.h"
#include "engine/ship_stats_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = kestrin::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> notes, notesOfText;
    const auto load = kestrin::MakeBattleRules(kestrin::ReadShipStats(file, &notes));
    (void)kestrin::ReadShipStats(std::string_view(reinterpret_cast<const char*>(data), size), &notesOfText);
    if (load.rules.tables.initiativeOrder.size() != kestrin::kShipCount) std::abort();
    std::set<std::string> names;
    for (kestrin::ShipIndex ship = 0; ship < kestrin::kShipCount; ++ship) names.insert(load.rules.catalogue.Name(ship));
    if (names.size() != static_cast<std::size_t>(kestrin::kShipCount)) std::abort();
    (void)file.Serialize();
    return 0;
}
