#include "battle_link.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <optional>

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

// Whether `text` at `at` starts with `plain`, or with `escaped` in either case of its hex digits.
std::size_t MatchAt(std::string_view text, std::size_t at, std::string_view plain, std::string_view escaped) {
    if (text.substr(at, plain.size()) == plain) return plain.size();
    if (text.size() - at < escaped.size()) return 0;
    for (std::size_t i = 0; i < escaped.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != escaped[i]) return 0;
    return escaped.size();
}

// Where the link's base64url begins, past "#battle=". A chat app or a redirect may have
// percent-escaped the '#' and the '=' (the base64url alphabet itself needs no escape).
std::optional<std::size_t> LinkStart(std::string_view text) {
    constexpr std::string_view kName = "battle";
    for (std::size_t at = text.find(kName); at != std::string_view::npos; at = text.find(kName, at + 1)) {
        const bool hash = (at >= 1 && text[at - 1] == '#') || (at >= 3 && MatchAt(text, at - 3, "#", "%23") == 3);
        if (!hash) continue;
        const std::size_t equals = MatchAt(text, at + kName.size(), "=", "%3d");
        if (equals != 0) return at + kName.size() + equals;
    }
    return std::nullopt;
}

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

bool HoldsBattleLink(std::string_view text) { return LinkStart(text).has_value(); }

BattleLinkBytes BattleFileFromLink(std::string_view text) {
    const std::optional<std::size_t> start = LinkStart(text);
    if (!start) return {std::nullopt, "The text holds no battle link (#battle=...)"};
    std::string_view encoded = text.substr(*start);
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
