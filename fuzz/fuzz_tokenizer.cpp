// Any pasted text: split into lines and tokens without crashing or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sheet/text_lines.h"
#include "parser/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& line : kestrin::SplitLines(text))
        for (const auto& token : kestrin::TokenizeLine(line)) (void)kestrin::IsNumberToken(token);
    return 0;
}
