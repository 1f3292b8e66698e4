#include "program_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "engine/ship_stats_file.h"

namespace kestrin {

namespace {

// An unset variable and an empty one mean the same.
std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The per-user configuration folder of desktop programs; a relative $XDG_CONFIG_HOME is
// not a valid setting and is ignored, as the desktop's base-directory rules require.
std::filesystem::path UserConfigFolder(const ProgramFilesEnvironment& environment) {
    const std::filesystem::path xdg = environment.xdgConfigHome;
    if (xdg.is_absolute()) return xdg;
    if (environment.home.empty()) return {};
    return std::filesystem::path(environment.home) / ".config";
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

std::filesystem::path InstalledDesktopEntry() {
    return std::filesystem::path("share/applications") / (std::string(KESTRIN_APP_ID) + ".desktop");
}

bool IsInstalledCopy(const std::filesystem::path& executableFolder) {
    const std::filesystem::path folder = executableFolder.lexically_normal();
    const std::filesystem::path bin = folder.has_filename() ? folder : folder.parent_path();
    return bin.filename() == "bin" && Exists(bin.parent_path() / InstalledDesktopEntry());
}

std::filesystem::path ProgramFilesFolder(const ProgramFilesEnvironment& environment) {
    const std::filesystem::path& beside = environment.executableFolder;
    if (!IsInstalledCopy(beside) || Exists(ShipStatsPath(beside))) return beside;
    const std::filesystem::path config = UserConfigFolder(environment);
    // Without any home there is nowhere else: the files stay beside the executable.
    return config.empty() ? beside : config / "Kestrin";
}

std::filesystem::path PrepareProgramFilesFolder(const ProgramFilesEnvironment& environment) {
    const std::filesystem::path folder = ProgramFilesFolder(environment);
    if (folder != environment.executableFolder) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    return folder;
}

ProgramFilesEnvironment CurrentProgramFilesEnvironment(const char* argv0) {
    ProgramFilesEnvironment environment;
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty())
        executable = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
    environment.executableFolder = executable.parent_path();
    environment.xdgConfigHome = Variable("XDG_CONFIG_HOME");
    environment.home = Variable("HOME");
    if (environment.home.empty()) {
        if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr)
            environment.home = account->pw_dir;
    }
    return environment;
}

std::filesystem::path BattleFileDialogFolder(const std::filesystem::path& executableFolder,
                                             const std::filesystem::path& documentsFolder,
                                             const std::filesystem::path& homeFolder) {
    if (access(executableFolder.c_str(), W_OK) == 0) return executableFolder;
    std::error_code error;
    if (std::filesystem::is_directory(documentsFolder, error)) return documentsFolder;
    return homeFolder;
}

}  // namespace kestrin
