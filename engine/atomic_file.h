#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrin {

/// Replaces the file at `path` by `bytes`: writes a temporary file in the same folder and
/// renames it into place, so a failed save leaves the old file whole and no temporary
/// behind. Returns "Unable to write to <path>: <reason>", or an empty text on success.
[[nodiscard]] std::string SaveFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes);

}  // namespace kestrin
