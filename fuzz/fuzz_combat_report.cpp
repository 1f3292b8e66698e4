// The combat report reader on any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parser/combat_report.h"
#include "sheet/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrin::TextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)kestrin::ReadCombatReport(lines, kestrin::DefaultShipCatalogue());
    return 0;
}
