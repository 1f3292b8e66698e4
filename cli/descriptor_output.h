#pragma once

#include <sys/types.h>

#include <filesystem>
#include <streambuf>
#include <string>

#include "cli_output.h"

namespace kestrin {

/// Whether `path` names, through any links, the very file or device `fd` writes to.
bool IsFileOf(const std::filesystem::path& path, int fd);

/// Standard output written straight to its file descriptor, so that a failed write is known
/// with the system's reason. Commands flush only after whole output (all of it, or for
/// `sweep` each complete point), so where the output is a regular file, a failed write cuts
/// the file back to the end of the last flush that succeeded: output is whole or nothing.
class DescriptorOutput : public std::streambuf, public OutputCutBack {
public:
    explicit DescriptorOutput(int fd);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    std::string CutBack() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool Drain();

    int fd_;
    bool regular_ = false;     // a regular file, which can be cut back
    off_t start_ = 0;          // where the command's output begins in the file
    off_t whole_ = 0;          // the file's end after the last flush that succeeded
    int error_ = 0;            // the reason of the first failed write, 0 while none failed
    char buffer_[1 << 16];
};

}  // namespace kestrin
