#include "descriptor_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace kestrin {

namespace {

// Where the next byte written goes: for a file opened to append (">>"), its end.
off_t WritePosition(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    struct stat info {};
    if (flags >= 0 && (flags & O_APPEND) != 0 && ::fstat(fd, &info) == 0) return info.st_size;
    return ::lseek(fd, 0, SEEK_CUR);
}

}  // namespace

bool IsFileOf(const std::filesystem::path& path, int fd) {
    struct stat named {}, open {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

DescriptorOutput::DescriptorOutput(int fd) : fd_(fd) {
    struct stat info {};
    regular_ = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular_) whole_ = start_ = WritePosition(fd);
    regular_ = regular_ && start_ >= 0;
    setp(buffer_, buffer_ + sizeof buffer_);
}

DescriptorOutput::~DescriptorOutput() { Drain(); }

// Writes out what the buffer holds; after a failure nothing more is written.
bool DescriptorOutput::Drain() {
    const char* data = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_, buffer_ + sizeof buffer_);
    while (left > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) error_ = errno;
        if (written <= 0) break;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (left > 0 && error_ == 0) error_ = EIO;
    return error_ == 0;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize DescriptorOutput::xsputn(const char* data, std::streamsize size) {
    std::streamsize done = 0;
    while (done < size) {
        if (pptr() == epptr() && !Drain()) break;
        const std::streamsize room = std::min<std::streamsize>(epptr() - pptr(), size - done);
        std::memcpy(pptr(), data + done, static_cast<std::size_t>(room));
        pbump(static_cast<int>(room));
        done += room;
    }
    return done;
}

int DescriptorOutput::sync() {
    if (!Drain()) return -1;
    if (regular_) {
        const off_t end = WritePosition(fd_);
        if (end >= 0) whole_ = end;
    }
    return 0;
}

std::string DescriptorOutput::CutBack() {
    setp(buffer_, buffer_ + sizeof buffer_);  // what is still buffered is never written
    const std::string reason = error_ != 0 ? ": " + std::generic_category().message(error_) : std::string();
    if (!regular_) return reason;
    // Shortening a file is allowed past a file-size limit, and on a full disk it frees room.
    if (::ftruncate(fd_, whole_) != 0)
        return reason + "; the output file could not be cut back: " + std::generic_category().message(errno);
    ::lseek(fd_, whole_, SEEK_SET);
    return reason + (whole_ == start_ ? "; the output file was cut back to where the command began"
                                      : "; the output file was cut back to its last complete line");
}

}  // namespace kestrin
