// Any statistics file: parsed, read into a catalogue, checked, and turned into combat tables
// that must then be complete.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/battle_rules.h"
#include "engine/ini_file.h"
#include "engine/ship_stats_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = kestrin::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto load = kestrin::MakeBattleRules(kestrin::ReadShipStats(file));
    if (load.rules.tables.initiativeOrder.size() != kestrin::kShipCount) std::abort();
    (void)file.Serialize();
    return 0;
}
