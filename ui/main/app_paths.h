#pragma once

#include <filesystem>

namespace kestrin {

/// The desktop program's folders, decided by the rules shared with kestrin-cli.
struct ProgramFolders {
    std::filesystem::path files;    ///< statistics and colours files (created when per-user)
    std::filesystem::path dialogs;  ///< where the battle file dialogs start
};

/// The folders for the running desktop program.
ProgramFolders DesktopProgramFolders();

}  // namespace kestrin
