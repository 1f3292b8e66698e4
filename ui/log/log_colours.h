#pragma once

#include "settings/appearance.h"
#include "sheet/log_writer.h"

namespace kestrin {

/// The appearance colours the calculation log uses, with their built-in defaults.
struct LogColours {
    Rgb ShipBgd{20, 20, 50};     ///< background of the log
    Rgb DefFont{50, 255, 50};    ///< the defender's lines
    Rgb AttFont{255, 100, 100};  ///< the attacker's lines
};

/// The log's colours among the current appearance colours.
inline LogColours LogColoursOf(const Appearance& appearance) {
    return LogColours{appearance[AppearanceColour::ShipBgd], appearance[AppearanceColour::DefFont],
                      appearance[AppearanceColour::AttFont]};
}

/// Text colour of a step title line.
inline constexpr Rgb kLogTitleColour{200, 200, 200};

/// Colour of the digits in a step title line.
inline constexpr Rgb kLogTitleDigitColour{150, 150, 255};

/// The colour the log shows text of `ink` in.
inline Rgb InkColour(LogInk ink, const LogColours& colours) {
    switch (ink) {
        case LogInk::Defender: return colours.DefFont;
        case LogInk::Attacker: return colours.AttFont;
        case LogInk::Title: return kLogTitleColour;
        case LogInk::TitleDigit: return kLogTitleDigitColour;
    }
    return colours.DefFont;
}

}  // namespace kestrin
