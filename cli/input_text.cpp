#include "input_text.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <istream>
#include <system_error>

#include "cli_output.h"

namespace kestrin {

InputRead ReadInputText(std::istream& in, std::string& text) {
    const std::ios::iostate thrown = in.exceptions();
    // The stream then passes the reader's own exception on, with the system's reason.
    in.exceptions(std::ios::badbit);
    text.clear();
    text.reserve(kInputLimit + 1);
    std::array<char, 1u << 16> block;
    try {
        // One byte past the limit tells a text that is too long; the rest is never read.
        while (in && text.size() <= kInputLimit) {
            in.read(block.data(), static_cast<std::streamsize>(std::min(block.size(), kInputLimit + 1 - text.size())));
            text.append(block.data(), static_cast<std::size_t>(in.gcount()));
        }
    } catch (const std::system_error& error) {
        in.exceptions(thrown);
        const bool reason = error.code().category() != std::iostream_category();
        return {"Unable to read the standard input" + (reason ? ": " + error.code().message() : std::string()),
                kExitFailure};
    }
    in.exceptions(thrown);
    if (text.size() > kInputLimit) {
        std::string().swap(text);
        return {"The standard input is larger than 16 MiB", kExitUsage};
    }
    return {};
}

DescriptorInput::int_type DescriptorInput::underflow() {
    ssize_t got = 0;
    do {
        got = ::read(fd_, buffer_, sizeof buffer_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw std::system_error(errno, std::generic_category());
    if (got == 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + got);
    return traits_type::to_int_type(buffer_[0]);
}

}  // namespace kestrin
