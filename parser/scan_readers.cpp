#include "scan_readers.h"

#include "engine/number_text.h"
#include "ship_names.h"
#include "tokenizer.h"

namespace kestrin {

namespace {

// The value of a keyword: the next token as a 64-bit number, 0 when it is no number or when
// the keyword ends its line.
std::int64_t ValueAfter(const std::vector<std::string>& tokens, std::size_t i) {
    return i + 1 < tokens.size() ? LenientInt64(tokens[i + 1]) : 0;
}

// Asteroid counts keep the low 32 bits of the value read.
std::int32_t Low32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

struct LayoutKeywords {
    const char* score;
    const char* eonium;                   // the planet's Eonium stock, before the asteroid block
    const char* roidKinds[4];             // uninitiated, metal, crystal, eonium
    bool roidsNeedFlag;                   // asteroid kinds count only inside the block
};

// The first layout names everything on one word each; the second opens an asteroid block
// with "Asteroids(" and names the kinds inside it.
constexpr LayoutKeywords kLayouts[2] = {
    {"Score", "Eonium", {"UnknownAsteroids", "MetalAsteroids", "CrystalAsteroids", "EoniumAsteroids"}, false},
    {")Score:", "Eonium:", {"Uninitiated", "Metal", "Crystal", "Eonium"}, true},
};

void ReadLayout(const std::vector<std::string>& lines, const LayoutKeywords& layout,
                PlanetFigures& figures) {
    bool asteroidsSeen = false;
    for (const std::string& line : lines) {
        const std::vector<std::string> tokens = TokenizeLine(line);
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const std::string& token = tokens[i];
            if (IsNumberToken(token)) continue;
            if (token == "Asteroids(") asteroidsSeen = true;
            if (token == layout.score) figures.Score = ValueAfter(tokens, i);
            if (token == layout.eonium && !asteroidsSeen) figures.Eonium = ValueAfter(tokens, i);
            for (int k = 0; k < 4; ++k)
                if (token == layout.roidKinds[k] && (asteroidsSeen || !layout.roidsNeedFlag))
                    figures.Roids[k] = Low32(ValueAfter(tokens, i));
        }
    }
}

}  // namespace

UnitCounts ReadUnitScan(const std::vector<std::string>& lines, const ShipCatalogue& catalogue) {
    UnitCounts counts{};
    for (const std::string& line : lines) {
        const std::vector<std::string> tokens = TokenizeLine(line);
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            if (IsNumberToken(tokens[i])) continue;
            const ShipIndex k = MatchShipName(tokens[i], catalogue);
            if (k >= 0) counts[k] = LenientInt32(tokens[i + 1]);
        }
    }
    return counts;
}

void ReadPlanetScan(const std::vector<std::string>& lines, PlanetFigures& figures) {
    for (const LayoutKeywords& layout : kLayouts) ReadLayout(lines, layout, figures);
}

}  // namespace kestrin
