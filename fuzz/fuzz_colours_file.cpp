// Any appearance settings file: its colours read, then written back as "Save as Default"
// writes them, and read again: the colours written are the colours read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/ini_file.h"
#include "settings/appearance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrin::IniFile file = kestrin::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    kestrin::Appearance colours = kestrin::ReadAppearance(file);
    // A different set each time, so that writing replaces values rather than keeping them.
    for (kestrin::Rgb& colour : colours.colours) colour = {colour.b, colour.r, colour.g};
    kestrin::WriteAppearance(file, colours);
    if (kestrin::ReadAppearance(kestrin::IniFile::Parse(file.Serialize())) != colours) std::abort();
    return 0;
}
