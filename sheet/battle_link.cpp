#include "battle_link.h"

#include <array>
#include <cstdint>

namespace kestrin {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
// A battle file holds 130 counts; the file reader's own limit (16 MB) bounds a link too.
constexpr std::size_t kLongestLink = 16 * 1024 * 1024 / 3 * 4;

constexpr std::array<int, 256> DecodingTable() {
    std::array<int, 256> table{};
    for (int& entry : table) entry = -1;
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int>(i);
    return table;
}

bool EndsLink(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '&' || c == '#'; }

}  // namespace

std::string BattleLinkFragment(std::string_view fileBytes) {
    std::string text(kBattleLinkMarker);
    text.reserve(text.size() + (fileBytes.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int pending = 0;
    for (char c : fileBytes) {
        bits = (bits << 8) | static_cast<unsigned char>(c);
        pending += 8;
        while (pending >= 6) {
            pending -= 6;
            text += kAlphabet[(bits >> pending) & 63];
        }
    }
    if (pending > 0) text += kAlphabet[(bits << (6 - pending)) & 63];
    return text;
}

bool HoldsBattleLink(std::string_view text) { return text.find(kBattleLinkMarker) != std::string_view::npos; }

BattleLinkBytes BattleFileFromLink(std::string_view text) {
    const std::size_t marker = text.find(kBattleLinkMarker);
    if (marker == std::string_view::npos) return {std::nullopt, "The text holds no battle link (#battle=...)"};
    std::string_view encoded = text.substr(marker + kBattleLinkMarker.size());
    std::size_t end = 0;
    while (end < encoded.size() && !EndsLink(encoded[end])) ++end;
    encoded = encoded.substr(0, end);
    if (encoded.size() > kLongestLink) return {std::nullopt, "The battle link is too long"};
    // Four characters carry three bytes; one left over cannot carry a whole byte.
    if (encoded.size() % 4 == 1) return {std::nullopt, "The battle link is cut short"};
    static constexpr std::array<int, 256> kTable = DecodingTable();
    std::string bytes;
    bytes.reserve(encoded.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int pending = 0;
    for (char c : encoded) {
        const int value = kTable[static_cast<unsigned char>(c)];
        if (value < 0) return {std::nullopt, "The battle link holds a character that is not base64url: '" + std::string(1, c) + "'"};
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            bytes += static_cast<char>((bits >> pending) & 0xff);
        }
    }
    return {std::move(bytes), {}};
}

}  // namespace kestrin
