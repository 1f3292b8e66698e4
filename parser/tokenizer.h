#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// Splits one line into tokens. Digits form number tokens; every other character but the
/// blank forms word tokens, and blanks between words vanish, so a name the game writes as
/// several words ("Metal Asteroids") becomes one token ("MetalAsteroids"). A word still open
/// at the end of the line is dropped.
std::vector<std::string> TokenizeLine(std::string_view line);

/// Whether a token reads as a signed 32-bit integer.
bool IsNumberToken(std::string_view token);

}  // namespace kestrin
