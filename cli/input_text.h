#pragma once

#include <iosfwd>
#include <streambuf>
#include <string>

namespace kestrin {

/// Reads the whole of `in` into `text`. Returns "" or "Unable to read the standard input"
/// with the system's reason. The text is read in blocks and joined once, so reading costs
/// at most about twice its size.
std::string ReadInputText(std::istream& in, std::string& text);

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
