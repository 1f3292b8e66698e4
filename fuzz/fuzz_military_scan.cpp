// The military scan reader on any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/military_scan.h"
#include "sheet/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrin::TextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto scan = kestrin::ReadMilitaryScan(lines, kestrin::DefaultShipCatalogue());
    (void)kestrin::ChosenFleets(scan, {true, true, true, true});
    return 0;
}
