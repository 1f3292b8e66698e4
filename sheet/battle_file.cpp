#include "battle_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/atomic_file.h"
#include "sheet/result_rows.h"

namespace kestrin {

namespace {

BattleFileResult Failure(BattleFileStatus status, std::string message) { return {status, std::move(message), {}}; }

// Collects a battle file's lines as its bytes arrive, and says no as soon as a line beyond the
// last holds more than blanks: an endless stream is never read to its end (blank lines after
// the last are held to the byte limit of a battle file).
class LineCollector {
public:
    /// Takes the next bytes; false once a line beyond the last holds more than blanks.
    bool Feed(std::string_view bytes) {
        for (std::size_t i = 0; i < bytes.size();) {
            const bool lfOfCrLf = afterCr_ && bytes[i] == '\n';
            afterCr_ = false;
            if (lfOfCrLf) {
                ++i;
                continue;
            }
            const std::size_t end = bytes.find_first_of("\r\n", i);
            const std::string_view part = bytes.substr(i, end - i);
            // An editor may leave blank lines after the last: they hold nothing to read.
            if (Full() && part.find_first_not_of(" \t") != std::string_view::npos) return false;
            if (!Full()) current_ += part;
            if (end == std::string_view::npos) break;
            if (!Full()) lines_.push_back(std::move(current_));
            current_.clear();
            afterCr_ = bytes[end] == '\r';
            i = end + 1;
        }
        return true;
    }

    /// The lines once every byte was fed; a final line break adds no empty line.
    std::vector<std::string> Finish() {
        if (!current_.empty()) lines_.push_back(std::move(current_));
        return std::move(lines_);
    }

private:
    bool Full() const { return lines_.size() == static_cast<std::size_t>(kBattleFileLines); }

    std::vector<std::string> lines_;
    std::string current_;
    bool afterCr_ = false;
};

// A battle file is a few kilobytes; a bigger one is refused before it fills the memory
// (a device that never ends, a single endless line).
constexpr std::size_t kBattleFileByteLimit = 16u << 20;

struct FileRead {
    BattleFileStatus status = BattleFileStatus::Ok;
    std::string error;
    std::vector<std::string> lines;
};

// Feeds the collector whatever each read gives (a pipe may give a few lines at a time and
// stay open), so that the count is checked as the bytes arrive.
FileRead ReadLines(const std::filesystem::path& path) {
    const auto failure = [&](const std::string& reason) {
        return FileRead{BattleFileStatus::ReadFailed, "Unable to read " + path.string() + ": " + reason, {}};
    };
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure(errno != 0 ? std::generic_category().message(errno) : "cannot be opened");
    LineCollector collector;
    std::string chunk(1u << 16, '\0');
    std::streambuf& buffer = *in.rdbuf();
    try {
        for (std::size_t total = 0; buffer.sgetc() != std::char_traits<char>::eof();) {
            const std::streamsize available = std::min<std::streamsize>(buffer.in_avail(), std::streamsize(chunk.size()));
            const auto got = static_cast<std::size_t>(buffer.sgetn(chunk.data(), std::max<std::streamsize>(available, 1)));
            if (!collector.Feed(std::string_view(chunk).substr(0, got)))
                return FileRead{BattleFileStatus::WrongLength, std::string(kWrongLengthMessage), {}};
            total += got;
            if (total > kBattleFileByteLimit) return failure("a battle file is at most 16 MB");
        }
    } catch (const std::ios_base::failure&) {
        return failure("the data could not be read");
    }
    return FileRead{BattleFileStatus::Ok, {}, collector.Finish()};
}

// The file's lines as the input cells' texts (columns 1 and 7 of rows 1..65), as written.
SheetCells WrittenCells(const std::vector<std::string>& lines) {
    SheetCells cells;
    for (int row = 1; row < sheet::kRows; ++row) {
        cells.Set(sheet::kDefShips, row, lines[2 * row - 2]);
        cells.Set(sheet::kAttShips, row, lines[2 * row - 1]);
    }
    // An editor that saved the file as UTF-8 may have put a byte-order mark before the
    // first count, which would otherwise make it no number.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (std::string_view first = lines[0]; first.starts_with(kByteOrderMark)) {
        first.remove_prefix(kByteOrderMark.size());
        cells.Set(sheet::kDefShips, 1, first);
    }
    return cells;
}

BattleFileResult CheckLineCount(const std::vector<std::string>& lines) {
    if (lines.size() != static_cast<std::size_t>(kBattleFileLines))
        return Failure(BattleFileStatus::WrongLength, std::string(kWrongLengthMessage));
    return {};
}

BattleFileResult FillSheet(BattleSheet& battleSheet, const std::vector<std::string>& lines) {
    if (BattleFileResult checked = CheckLineCount(lines); !checked.ok()) return checked;
    const SheetCells written = WrittenCells(lines);
    const SheetCells read = CountsAsTyped(written);
    for (int row = 1; row < sheet::kRows; ++row)
        for (int col : {sheet::kDefShips, sheet::kAttShips}) battleSheet.SetCell(col, row, read.At(col, row));
    battleSheet.RecalculateFollowingLog();
    BattleFileResult opened;
    opened.problems = FindBattleFileProblems(written, read, battleSheet.Cells());
    return opened;
}

// Only a file that is not there is "missing"; a folder that may not be entered or a name too
// long is reported with the system's reason.
FileRead ReadBattleFileLines(const std::filesystem::path& path) {
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    if (status.type() == std::filesystem::file_type::not_found)
        return {BattleFileStatus::FileMissing, std::string(kFileMissingMessage), {}};
    if (code) return {BattleFileStatus::ReadFailed, "Unable to read " + path.string() + ": " + code.message(), {}};
    if (std::filesystem::is_directory(status))
        return {BattleFileStatus::ReadFailed, "Unable to read " + path.string() + ": it is a folder", {}};
    return ReadLines(path);
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
    return SaveBattleFile(battleSheet.Cells(), path);
}

BattleFileResult SaveBattleFile(const SheetCells& cells, const std::filesystem::path& path) {
    std::string error = SaveFileAtomically(path, BattleFileBytes(cells));
    if (!error.empty()) return Failure(BattleFileStatus::WriteFailed, std::move(error));
    return {};
}

BattleFileResult OpenBattleFile(BattleSheet& battleSheet, const std::filesystem::path& path) {
    FileRead read = ReadBattleFileLines(path);
    if (read.status != BattleFileStatus::Ok) return Failure(read.status, std::move(read.error));
    return FillSheet(battleSheet, read.lines);
}

namespace {

// The inputs of a battle file's lines once read, as ReadBattleFileInputs describes them.
BattleFileInputs InputsOfLines(const std::vector<std::string>& lines) {
    if (BattleFileResult checked = CheckLineCount(lines); !checked.ok()) return {{}, std::move(checked)};
    const SheetCells written = WrittenCells(lines);
    const SheetCells cells = CountsAsTyped(written);
    BattleFileInputs inputs{InputsAsWritten(SheetInputs(cells)), {}};
    SheetCells recalculated = cells;
    WriteInputsBack(recalculated, inputs.battle);
    inputs.outcome.problems = FindBattleFileProblems(written, cells, recalculated);
    return inputs;
}

}  // namespace

BattleFileInputs ReadBattleFileInputs(const std::filesystem::path& path) {
    FileRead read = ReadBattleFileLines(path);
    if (read.status != BattleFileStatus::Ok) return {{}, Failure(read.status, std::move(read.error))};
    return InputsOfLines(read.lines);
}

BattleFileInputs ReadBattleBytesInputs(std::string_view bytes) {
    LineCollector collector;
    if (!collector.Feed(bytes)) return {{}, Failure(BattleFileStatus::WrongLength, std::string(kWrongLengthMessage))};
    return InputsOfLines(collector.Finish());
}

BattleFileResult ReadBattleFileBytes(BattleSheet& battleSheet, std::string_view bytes) {
    LineCollector collector;
    if (!collector.Feed(bytes)) return Failure(BattleFileStatus::WrongLength, std::string(kWrongLengthMessage));
    return FillSheet(battleSheet, collector.Finish());
}

}  // namespace kestrin
