#pragma once

#include <iosfwd>
#include <cstddef>
#include <streambuf>
#include <string>

namespace kestrin {

/// The most standard input parse and solve read, as much as a battle or statistics file.
inline constexpr std::size_t kInputLimit = std::size_t{16} << 20;

/// What reading standard input gave: an empty error, or the error and the exit status.
struct InputRead {
    std::string error;
    int status = 0;
};

/// Reads the whole of `in` into `text`, up to kInputLimit: more is refused (exit status 2)
/// without being read. A read error is "Unable to read the standard input" with the
/// system's reason (exit status 1). The memory reserved for the text is only address
/// space until the text fills it, so reading costs about the text's own size.
InputRead ReadInputText(std::istream& in, std::string& text);

/// Standard input read straight from its file descriptor. A read error throws
/// std::system_error, which the stream reports, where the C library's buffered stream would
/// end as if the input were empty.
class DescriptorInput : public std::streambuf {
public:
    explicit DescriptorInput(int fd) : fd_(fd) {}

protected:
    int_type underflow() override;

private:
    int fd_;
    char buffer_[1 << 16];
};

}  // namespace kestrin
