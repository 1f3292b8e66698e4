#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// Splits pasted text into lines as a multi-line text area holds them: CR LF, LF and a lone
/// CR each end a line; the breaks themselves are not part of any line. A text ending in a
/// break has no empty line after it; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kestrin
