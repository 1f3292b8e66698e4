#pragma once

#include <filesystem>
#include <string>

namespace kestrin {

/// What decides where the program keeps its statistics and colours files, gathered once at
/// start and passed in so that the decision itself reads nothing global.
struct ProgramFilesEnvironment {
    std::filesystem::path executableFolder;  ///< folder of the running executable
    std::string xdgConfigHome;               ///< $XDG_CONFIG_HOME; empty when unset
    std::string home;                        ///< the user's home folder; empty when unknown
};

/// The desktop entry an installation puts beside bin/, relative to the installation prefix.
std::filesystem::path InstalledDesktopEntry();

/// True for an installed copy: the executable sits in bin/ and bin/'s parent holds the
/// installed desktop entry. Write access plays no part, so root decides as everyone else.
bool IsInstalledCopy(const std::filesystem::path& executableFolder);

/// The folder of "ShipStats.ini" and "Kestrin.ini". An installed copy keeps them in the
/// user's configuration folder (Kestrin/ under $XDG_CONFIG_HOME, else under ~/.config),
/// unless "ShipStats.ini" already sits beside the executable (a deliberate portable copy);
/// every other copy keeps them beside the executable.
std::filesystem::path ProgramFilesFolder(const ProgramFilesEnvironment& environment);

/// ProgramFilesFolder, created when it is the per-user folder and missing. A folder that
/// cannot be created is still returned: writing into it reports the failure.
std::filesystem::path PrepareProgramFilesFolder(const ProgramFilesEnvironment& environment);

/// The running executable's folder (from `argv0` when the system cannot tell) and the
/// user's configuration and home folders from the environment.
ProgramFilesEnvironment CurrentProgramFilesEnvironment(const char* argv0);

/// Where the battle file dialogs start: the program's own folder when the user may write
/// there, else the documents folder, else the home folder.
std::filesystem::path BattleFileDialogFolder(const std::filesystem::path& executableFolder,
                                             const std::filesystem::path& documentsFolder,
                                             const std::filesystem::path& homeFolder);

}  // namespace kestrin
