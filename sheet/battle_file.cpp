#include "battle_file.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/atomic_file.h"

namespace kestrin {

namespace {

BattleFileResult Failure(BattleFileStatus status, std::string message) { return {status, std::move(message)}; }

struct FileRead {
    std::string bytes;
    std::string error;  ///< empty on success
};

FileRead ReadWholeFile(const std::filesystem::path& path) {
    const auto failure = [&](const std::string& reason) {
        return FileRead{{}, "Unable to read " + path.string() + ": " + reason};
    };
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) return failure("it is a folder");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure(errno != 0 ? std::generic_category().message(errno) : "cannot be opened");
    FileRead read;
    read.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return failure("the data could not be read");
    return read;
}

}  // namespace

std::vector<std::string> BattleFileLines(const SheetCells& cells) {
    std::vector<std::string> lines;
    lines.reserve(kBattleFileLines);
    for (int row = 1; row < sheet::kRows; ++row) {
        lines.push_back(cells.At(sheet::kDefShips, row));
        lines.push_back(cells.At(sheet::kAttShips, row));
    }
    return lines;
}

std::string BattleFileBytes(const SheetCells& cells) {
    std::string bytes;
    for (const std::string& line : BattleFileLines(cells)) {
        for (char c : line)
            if (c != '\r' && c != '\n') bytes += c;
        bytes += "\r\n";
    }
    return bytes;
}

BattleFileResult SaveBattleFile(const BattleSheet& battleSheet, const std::filesystem::path& path) {
    std::string error = SaveFileAtomically(path, BattleFileBytes(battleSheet.Cells()));
    if (!error.empty()) return Failure(BattleFileStatus::WriteFailed, std::move(error));
    return {};
}

BattleFileResult OpenBattleFile(BattleSheet& battleSheet, const std::filesystem::path& path) {
    std::error_code code;
    if (!std::filesystem::exists(path, code))
        return Failure(BattleFileStatus::FileMissing, std::string(kFileMissingMessage));
    FileRead read = ReadWholeFile(path);
    if (!read.error.empty()) return Failure(BattleFileStatus::ReadFailed, std::move(read.error));
    return ReadBattleFileBytes(battleSheet, read.bytes);
}

BattleFileResult ReadBattleFileBytes(BattleSheet& battleSheet, std::string_view bytes) {
    const std::vector<std::string> lines = SplitLines(bytes);
    if (lines.size() != static_cast<std::size_t>(kBattleFileLines))
        return Failure(BattleFileStatus::WrongLength, std::string(kWrongLengthMessage));
    // Taken as text, unchecked: the recalculation empties what is no number in unit rows.
    for (int row = 1; row < sheet::kRows; ++row) {
        battleSheet.SetCell(sheet::kDefShips, row, lines[2 * row - 2]);
        battleSheet.SetCell(sheet::kAttShips, row, lines[2 * row - 1]);
    }
    std::string error = battleSheet.RecalculateFollowingLog();
    if (!error.empty()) return Failure(BattleFileStatus::RecalculationFailed, std::move(error));
    return {};
}

}  // namespace kestrin
