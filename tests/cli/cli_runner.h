#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/ship_stats_file.h"
#include "engine/temp_folder.h"

namespace kestrin::testing {

/// What one run of kestrin-cli gave.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the built kestrin-cli with `arguments` (shell words) and `input` on standard input,
/// inside `folder`.
inline ProgramRun RunProgram(const TempFolder& folder, const std::string& arguments,
                             const std::string& input = "") {
    const std::filesystem::path in = folder.Path() / "stdin.txt";
    const std::filesystem::path out = folder.Path() / "stdout.txt";
    const std::filesystem::path err = folder.Path() / "stderr.txt";
    WriteBytes(in, input);
    const std::string command = "'" KESTRIN_CLI_PATH "' " + arguments + " < '" + in.string() +
                                "' > '" + out.string() + "' 2> '" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

/// Runs a shell command line in which $CLI names the built kestrin-cli, inside `folder`;
/// its standard output and error are captured unless the line redirects them itself.
inline ProgramRun RunShell(const TempFolder& folder, const std::string& line) {
    const std::filesystem::path out = folder.Path() / "stdout.txt";
    const std::filesystem::path err = folder.Path() / "stderr.txt";
    const std::string command = "cd '" + folder.Path().string() + "' && CLI='" KESTRIN_CLI_PATH "' && (" + line +
                                ") > '" + out.string() + "' 2> '" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

/// Whether the programs run under a sanitizer, whose shadow memory is no measure of a
/// program's own.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

/// Runs a shell command line as RunShell does and gives the largest resident size, in KiB,
/// that the line or any process it waited for reached: a bound on memory that, unlike a cap
/// on the address space, does not depend on the machine's limits.
inline long PeakResidentKiBOf(const TempFolder& folder, const std::string& line, ProgramRun& run) {
    const std::string command = "cd '" + folder.Path().string() + "' && CLI='" KESTRIN_CLI_PATH "' && (" + line +
                                ") > stdout.txt 2> stderr.txt";
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int raw = -1;
    rusage usage{};
    if (child < 0 || wait4(child, &raw, 0, &usage) != child) return -1;
    run = {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(folder.Path() / "stdout.txt"),
           ReadBytes(folder.Path() / "stderr.txt")};
    return usage.ru_maxrss;
}

/// The option naming the built-in statistics file in `folder` (written when missing: a
/// --stats file must exist).
inline std::string Stats(const TempFolder& folder) {
    const std::filesystem::path path = folder.Path() / "ShipStats.ini";
    if (!std::filesystem::exists(path) && !WriteDefaultShipStats(path).empty()) ADD_FAILURE() << path;
    return " --stats '" + path.string() + "'";
}

/// Whether `text` is exactly one line, ended by a line break.
inline bool IsOneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

}  // namespace kestrin::testing
