// Any text read as a battle link: no crash, and whatever it decodes to encodes back to a link
// that decodes to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sheet/battle_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kestrin::BattleLinkBytes decoded = kestrin::BattleFileFromLink(text);
    if (decoded.bytes) {
        const kestrin::BattleLinkBytes again = kestrin::BattleFileFromLink(kestrin::BattleLinkFragment(*decoded.bytes));
        if (!again.bytes || *again.bytes != *decoded.bytes) std::abort();
    } else if (decoded.error.empty()) {
        std::abort();
    }
    return 0;
}
