#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/combat_tables.h"
#include "engine/number_text.h"
#include "engine/temp_folder.h"

namespace kestrin::testing {
namespace {

// The lines of a battle file, which must each end with CR LF.
std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << "text after the last CR LF";
    return lines;
}

// Combat modes of the unit types a side brings (lines 1..108 alternate defender, attacker).
std::set<CombatMode> Modes(const std::vector<std::string>& lines, Side side) {
    std::set<CombatMode> modes;
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        if (LenientInt32(lines[2 * ship + Idx(side)]) > 0)
            modes.insert(CombatModeOf(DefaultShipCatalogue()[ship]));
    return modes;
}

std::vector<std::string> Example(const std::string& name) {
    return CrLfLines(ReadBytes(std::string(KESTRIN_EXAMPLES_DIR) + "/" + name));
}

TEST(Examples, AreBattleFilesOfIntegerLines) {
    for (const char* name : {"raid.kbf", "fleet_battle.kbf", "capture.kbf"}) {
        const std::vector<std::string> lines = Example(name);
        ASSERT_EQ(lines.size(), 130u) << name;
        for (const std::string& line : lines)
            EXPECT_TRUE(line.empty() || ParseInt64(line)) << name << ": " << line;
        EXPECT_GT(LenientInt64(lines[128]), 0) << name << ": defender's planet score";
    }
}

TEST(Examples, EachShowsWhatItIsNamedFor) {
    const auto battle = Example("fleet_battle.kbf");
    for (Side side : {Side::Defender, Side::Attacker}) {
        EXPECT_TRUE(Modes(battle, side).contains(CombatMode::Emp));
        EXPECT_TRUE(Modes(battle, side).contains(CombatMode::Steal));
    }
    const auto capture = Example("capture.kbf");
    int capturingTypes = 0;
    for (ShipIndex ship : {7, 21, 28, 48})  // Demeter, Mantis, Vulture, AstroPod
        capturingTypes += LenientInt32(capture[2 * ship + 1]) > 0;
    EXPECT_EQ(capturingTypes, 4);
    for (int row = 60; row <= 63; ++row)  // every asteroid kind can be captured
        EXPECT_GE(LenientInt32(capture[2 * row - 2]), 7) << row;
}

}  // namespace
}  // namespace kestrin::testing
