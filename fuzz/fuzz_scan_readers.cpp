// Unit, PDS and sector scan readers on any text, with their notes of counts cut at a separator.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/scan_readers.h"
#include "sheet/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrin::TextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    kestrin::ReportNotes notes;
    (void)kestrin::ReadUnitScan(lines, kestrin::DefaultShipCatalogue(), &notes);
    kestrin::PlanetFigures figures;
    kestrin::ReadPlanetScan(lines, figures, &notes);
    return 0;
}
