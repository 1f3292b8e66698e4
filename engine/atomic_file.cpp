#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <system_error>
#include <vector>

// Saving works on the system's file calls directly: the standard streams can neither create
// a file exclusively without following a link nor flush it to the disk.

namespace kestrin {

namespace {

constexpr int kLinkLimit = 40;     // the system's own limit on links in a row
constexpr int kNameAttempts = 100;  // a folder full of our temporaries must not hang a save

std::string Reason(int code) { return std::generic_category().message(code); }

// In a folder everyone may write to whose sticky bit keeps users from removing each other's
// files (a temporary folder), a link another user planted could send a save onto any file
// the saver may write. The kernel's protected_symlinks rule follows such a link only for its
// owner or the folder's owner; the save applies it itself, whatever the system's setting,
// because it resolves links on its own and renames onto the file they name.
bool PlantedByAnotherUser(const std::filesystem::path& folder, const struct stat& linkInfo) {
    struct stat folderInfo {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderInfo) != 0) return true;  // cannot tell: do not follow
    const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
    return shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folderInfo.st_uid;
}

// The names of `path` still to walk, the first one last.
void PushNames(std::vector<std::filesystem::path>& names, const std::filesystem::path& path) {
    const std::filesystem::path relative = path.relative_path();
    const std::vector<std::filesystem::path> inOrder(relative.begin(), relative.end());
    names.insert(names.end(), inOrder.rbegin(), inOrder.rend());
}

// Follows every symbolic link on `path`, those to folders on the way as well as the file's
// own, to the file it names, which need not exist yet: the kernel applies the shared-folder
// rule to each link of a path, and so does the save. Returns "" or why a link may not be
// followed.
std::string ResolveLinks(std::filesystem::path& path) {
    std::vector<std::filesystem::path> names;
    PushNames(names, path);
    // Walked so far, no link left in it: ".." is its lexical parent.
    std::filesystem::path walked = path.root_path();
    int links = 0;
    while (!names.empty()) {
        const std::filesystem::path name = std::move(names.back());
        names.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            const bool climbs = walked.empty() || walked.filename() == "..";
            walked = climbs ? walked / name : walked.parent_path();
            continue;
        }
        const std::filesystem::path next = walked / name;
        struct stat info {};
        if (::lstat(next.c_str(), &info) != 0) {
            if (errno != ENOENT) return Reason(errno);
            // Nothing further exists to follow: the rest is named as it stands.
            walked = next;
            for (; !names.empty(); names.pop_back()) walked /= names.back();
            break;
        }
        if (!S_ISLNK(info.st_mode)) {
            walked = next;
            continue;
        }
        if (++links > kLinkLimit) return Reason(ELOOP);
        if (PlantedByAnotherUser(walked, info)) {
            return "the symbolic link " + next.string() +
                   " belongs to another user in a shared folder and is not followed";
        }
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(next, error);
        if (error) return Reason(error.value());
        if (target.is_absolute()) walked = target.root_path();
        PushNames(names, target);
    }
    // A name given with a final separator keeps it: it names a folder.
    if (!path.empty() && path.filename().empty()) walked /= "";
    path = walked;
    return {};
}

struct OldFile {
    bool exists = false;
    struct stat info {};
};

// Refuses what a save must not replace: anything but a regular file (a device, a pipe, a
// folder) and a file the process may not write. Returns the reason, or "" when the save
// may go ahead.
std::string CheckTarget(const std::filesystem::path& target, OldFile& old) {
    if (::stat(target.c_str(), &old.info) != 0) return errno == ENOENT ? std::string() : Reason(errno);
    if (!S_ISREG(old.info.st_mode)) return "it is not a regular file";
    // In a sticky folder only the file's owner, the folder's owner or the administrator may
    // replace a file: the rename at the end would be refused, so refuse before writing.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    struct stat folderInfo {};
    const uid_t user = ::geteuid();
    if (::stat(folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX) != 0 && user != 0 &&
        old.info.st_uid != user && folderInfo.st_uid != user) {
        return Reason(EPERM);
    }
    // Opening for writing, without truncating, asks the system exactly what a plain write
    // would: access rights, access lists, read-only mounts.
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Reason(errno);
    ::close(fd);
    old.exists = true;
    return {};
}

// The file-name limit of the usual file systems (Linux's NAME_MAX).
constexpr std::size_t kNameMax = 255;

std::string RandomSuffix() {
    std::random_device random;
    return ".tmp" + std::to_string(random() % 1000000u);
}

struct Temporary {
    int fd = -1;
    std::filesystem::path path;
    std::string error;
};

// Beside the target, so that the rename stays within one file system. The exclusive
// creation never opens an existing name, so a link planted there is not followed.
Temporary CreateTemporary(const std::filesystem::path& target, mode_t mode,
                          const TemporaryNameSource& names) {
    Temporary temporary;
    const std::string name = target.filename().string();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string suffix = names ? names() : RandomSuffix();
        // A name near the limit keeps only its start: the temporary must be a legal name too.
        temporary.path = target.parent_path() / (name.substr(0, kNameMax - std::min(suffix.size(), kNameMax)) + suffix);
        temporary.fd = ::open(temporary.path.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (temporary.fd >= 0) return temporary;
        if (errno != EEXIST) {
            temporary.error = Reason(errno);
            return temporary;
        }
    }
    temporary.error = "no free name for a temporary file beside it";
    return temporary;
}

// The replacement keeps the old file's owner where the process may set it, and its access
// rights; set-user and set-group bits are not carried onto new content.
void KeepAttributes(int fd, const OldFile& old) {
    if (!old.exists) return;
    // An ordinary user may not give a file away, but may keep its group; failing both, the
    // file has the saver's owner and group, as any new file would.
    [[maybe_unused]] const bool owned = ::fchown(fd, old.info.st_uid, old.info.st_gid) == 0 ||
                                        ::fchown(fd, static_cast<uid_t>(-1), old.info.st_gid) == 0;
    ::fchmod(fd, old.info.st_mode & 01777);
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// After a rename the folder's entry must reach the disk too; failing that the file is
// still in place, so it is not an error.
void SyncFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

PendingFile::PendingFile(const std::filesystem::path& path, std::string_view bytes,
                         const TemporaryNameSource& names)
    : shownPath_(path), target_(path) {
    if (std::string refusal = ResolveLinks(target_); !refusal.empty()) {
        Fail(refusal);
        return;
    }
    OldFile old;
    if (std::string refusal = CheckTarget(target_, old); !refusal.empty()) {
        Fail(refusal);
        return;
    }
    // Created with the old file's rights, narrowed by the umask until KeepAttributes.
    Temporary created = CreateTemporary(target_, old.exists ? (old.info.st_mode & 0777) : 0666, names);
    if (created.fd < 0) {
        Fail(created.error);
        return;
    }
    temporary_ = created.path;
    KeepAttributes(created.fd, old);
    int code = WriteAll(created.fd, bytes);
    if (code == 0 && ::fsync(created.fd) != 0) code = errno;
    if (::close(created.fd) != 0 && code == 0) code = errno;
    if (code != 0) Fail(Reason(code));
}

PendingFile::~PendingFile() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

std::string PendingFile::Fail(const std::string& reason) {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    error_ = "Unable to write to " + shownPath_.string() + ": " + reason;
    return error_;
}

std::string PendingFile::Commit() {
    if (!error_.empty()) return error_;
    if (temporary_.empty()) return Fail("it was already saved");
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(Reason(errno));
    temporary_.clear();
    SyncFolder(target_);
    return {};
}

std::string SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    PendingFile file(path, bytes);
    return file.Commit();
}

}  // namespace kestrin
