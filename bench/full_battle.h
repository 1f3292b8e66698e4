#pragma once

#include <random>
#include <string>

#include "engine/battle_rules.h"
#include "sheet/battle_sheet.h"

namespace kestrin::bench {

/// The rules of the built-in statistics, built once.
inline const BattleRules& Rules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

/// Every one of the 54 types on both sides, asteroids, Eonium and scores.
inline void FillFullSheet(BattleSheet& sheet) {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> count(1000, 1000000);
    for (int row = sheet::kFirstUnitRow; row <= sheet::kLastUnitRow; ++row) {
        sheet.SetCell(sheet::kDefShips, row, std::to_string(count(rng)));
        sheet.SetCell(sheet::kAttShips, row, std::to_string(count(rng)));
    }
    const char* roids[] = {"500", "1200", "900", "300"};
    for (int k = 0; k < 4; ++k) sheet.SetCell(sheet::kDefShips, sheet::kFirstRoidRow + k, roids[k]);
    sheet.SetCell(sheet::kDefShips, sheet::kEoniumRow, "2000000");
    sheet.SetCell(sheet::kDefShips, sheet::kScoreRow, "90000000");
    sheet.SetCell(sheet::kAttShips, sheet::kScoreRow, "120000000");
}

}  // namespace kestrin::bench
