#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// A battle as the page keeps it in the browser's storage: one line per tick, each that
/// tick's inputs as a battle link ("#battle=..."), tick 1 first and the tick shown last.
/// ASCII only, so that any storage keeps it as written.
std::string KeptBattleText(const std::vector<std::string>& ticks);

/// The ticks a kept battle holds, or why it holds none (`error` in the player's words).
/// A battle kept by an earlier page (one link without '#') is read too.
struct KeptBattle {
    std::vector<std::string> ticks;
    std::string error;
};
KeptBattle ReadKeptBattle(std::string_view text);

}  // namespace kestrin
