#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kestrin {

/// Gives the suffix of the next temporary name to try ("<target><suffix>"); a test hook.
using TemporaryNameSource = std::function<std::string()>;

/// A replacement of a file, written and flushed to disk beside it but not yet in place.
/// Commit renames it over the target; destroying an uncommitted one removes the temporary,
/// so the old file stays whole whatever fails on the way.
///
/// The target is the file `path` names, every symbolic link on it followed (to folders on the
/// way as well as the file's own), except a link in a sticky folder everyone may write that
/// belongs neither to the saver nor to the folder's owner (refused, naming the link). The
/// temporary's name stays within the file-name limit. A target that
/// exists and is not a regular file, or that the process may not write, is refused and left
/// alone. The new file keeps the old one's permissions and, where the process may set it,
/// its owner. Errors read "Unable to write to <path>: <reason>".
class PendingFile {
public:
    /// Writes `bytes` to a new temporary file beside the target; check Error() afterwards.
    PendingFile(const std::filesystem::path& path, std::string_view bytes,
                const TemporaryNameSource& names = {});
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    /// Empty when the temporary is ready, otherwise why it is not (nothing was left behind).
    const std::string& Error() const { return error_; }
    /// The temporary's name while there is one, else empty.
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

    /// Moves the temporary into place; returns "" or the error (the old file then stays).
    [[nodiscard]] std::string Commit();

private:
    std::string Fail(const std::string& reason);

    std::filesystem::path shownPath_;  // as the caller named it, for messages
    std::filesystem::path target_;     // links resolved
    std::filesystem::path temporary_;  // empty when there is none to remove
    std::string error_;
};

/// Replaces the file at `path` by `bytes` at once (PendingFile, then Commit). Returns
/// "Unable to write to <path>: <reason>", or an empty text on success.
[[nodiscard]] std::string SaveFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes);

}  // namespace kestrin
