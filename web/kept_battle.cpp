#include "kept_battle.h"

#include "sheet/battle_link.h"

namespace kestrin {

std::string KeptBattleText(const std::vector<std::string>& ticks) {
    std::string text;
    for (const std::string& tick : ticks) text += BattleLinkFragment(tick) + "\n";
    return text;
}

KeptBattle ReadKeptBattle(std::string_view text) {
    KeptBattle kept;
    // The page before several battles were kept stored one fragment without its '#'.
    const std::string earlier = text.starts_with("battle=") ? "#" + std::string(text) : std::string();
    if (!earlier.empty()) text = earlier;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        BattleLinkBytes tick = BattleFileFromLink(line);
        if (!tick.bytes) return {{}, std::move(tick.error)};
        kept.ticks.push_back(std::move(*tick.bytes));
    }
    if (kept.ticks.empty()) kept.error = "The text holds no battle link (#battle=...)";
    return kept;
}

}  // namespace kestrin
