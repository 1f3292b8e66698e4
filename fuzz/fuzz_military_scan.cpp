// The military scan reader on any text, with its notes of counts cut at a separator.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/military_scan.h"
#include "sheet/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrin::TextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    kestrin::ReportNotes notes;
    const auto scan = kestrin::ReadMilitaryScan(lines, kestrin::DefaultShipCatalogue(), &notes);
    (void)kestrin::ChosenFleets(scan, {true, true, true, true});
    return 0;
}
