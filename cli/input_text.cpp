#include "input_text.h"

#include <unistd.h>

#include <cerrno>
#include <istream>
#include <system_error>
#include <vector>

namespace kestrin {

namespace {

constexpr std::size_t kBlockSize = 1u << 20;

}  // namespace

std::string ReadInputText(std::istream& in, std::string& text) {
    const std::ios::iostate thrown = in.exceptions();
    // The stream then passes the reader's own exception on, with the system's reason.
    in.exceptions(std::ios::badbit);
    std::vector<std::string> blocks;
    std::size_t total = 0;
    try {
        while (in) {
            std::string block(kBlockSize, '\0');
            in.read(block.data(), static_cast<std::streamsize>(block.size()));
            block.resize(static_cast<std::size_t>(in.gcount()));
            total += block.size();
            blocks.push_back(std::move(block));
        }
    } catch (const std::system_error& error) {
        in.exceptions(thrown);
        const bool reason = error.code().category() != std::iostream_category();
        return "Unable to read the standard input" + (reason ? ": " + error.code().message() : std::string());
    }
    in.exceptions(thrown);
    text.clear();
    text.reserve(total);
    for (std::string& block : blocks) {
        text += block;
        std::string().swap(block);  // each block goes as soon as it is copied
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
