#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

/// A battle shared as a link: "#battle=" and the battle file's bytes (CR LF lines, as saved)
/// in base64url without padding. The web page puts it after its address; the desktop program
/// takes the same text, with or without an address before it.
inline constexpr std::string_view kBattleLinkMarker = "#battle=";

/// The link fragment of a battle file's bytes.
std::string BattleLinkFragment(std::string_view fileBytes);

/// What the desktop says once a battle's link is on the clipboard.
inline constexpr const char* kLinkCopiedText =
    "The battle's link (#battle=...) is on the clipboard: paste it after the page's address, or into File > Open Link from Clipboard";

/// Whether the text holds a battle link (a pasted chat line, an address or the fragment),
/// its "#battle=" written as is or percent-escaped ("%23battle%3D").
bool HoldsBattleLink(std::string_view text);

/// The battle file's bytes a link's text carries, or the reason it carries none:
/// `error` names what is wrong with the link.
struct BattleLinkBytes {
    std::optional<std::string> bytes;
    std::string error;
};
BattleLinkBytes BattleFileFromLink(std::string_view text);

}  // namespace kestrin
