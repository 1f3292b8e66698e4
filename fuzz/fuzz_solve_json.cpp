// Any text as the solve command's call: read, checked and, when accepted, solved. No crash, no
// undefined behaviour, and every accepted call gives a complete answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/solve_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrin::SolveCallRead read =
        kestrin::ReadSolveCall(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.error.empty()) return 0;
    const kestrin::Json answer = kestrin::SolveJson(read.call);
    if (answer["kills"].size() != read.call.ships.size()) std::abort();
    (void)kestrin::DumpJson(answer);
    return 0;
}
