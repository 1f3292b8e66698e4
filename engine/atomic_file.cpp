#include "atomic_file.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

namespace kestrin {

namespace {

// Beside the target, so that the rename stays within one file system and is atomic; the
// random part keeps two programs saving at once from sharing a temporary.
std::filesystem::path FreeTemporaryPath(const std::filesystem::path& path) {
    std::random_device random;
    std::filesystem::path candidate;
    std::error_code ignored;
    do {
        candidate = path;
        candidate += ".tmp" + std::to_string(random() % 1000000u);
    } while (std::filesystem::exists(candidate, ignored));
    return candidate;
}

}  // namespace

std::string SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const auto failure = [&](const std::string& reason) {
        return "Unable to write to " + path.string() + (reason.empty() ? "" : ": " + reason);
    };
    const std::filesystem::path temporary = FreeTemporaryPath(path);
    std::error_code ignored;
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return failure(errno != 0 ? std::generic_category().message(errno) : "");
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::filesystem::remove(temporary, ignored);
        return failure("the data could not be written");
    }
    // A replaced file keeps the access rights its owner gave it.
    const std::filesystem::file_status old = std::filesystem::status(path, ignored);
    if (std::filesystem::is_regular_file(old))
        std::filesystem::permissions(temporary, old.permissions(), ignored);
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return failure(renameError.message());
    }
    return {};
}

}  // namespace kestrin
