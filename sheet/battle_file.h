#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/battle_state.h"
#include "sheet/battle_file_problems.h"
#include "sheet/battle_sheet.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// Number of lines of a battle file: columns 1 and 7 of rows 1..65.
inline constexpr int kBattleFileLines = 2 * (sheet::kRows - 1);
/// The message of a missing file.
inline constexpr std::string_view kFileMissingMessage = "That File Dosn't Exist !!!";
/// The message of a file without exactly 130 lines.
inline constexpr std::string_view kWrongLengthMessage = "Incorrect File Length !!!";
/// The dialogs' default extension.
inline constexpr std::string_view kBattleFileExtension = "kbf";
/// The dialogs' file-type list (display text and pattern pairs, separated by '|').
inline constexpr std::string_view kBattleFileFilter =
    "Kestrin Battle Files    (*.kbf)|*.kbf|All Files    (*.*)|*.*";

/// What went wrong with a battle file, for the window to choose its message box.
enum class BattleFileStatus {
    Ok,
    FileMissing,          ///< kFileMissingMessage: a warning with OK and Cancel
    WrongLength,          ///< kWrongLengthMessage: a warning with OK and Cancel
    ReadFailed,           ///< the file system's error while reading
    WriteFailed,          ///< "Unable to write to <path>: <reason>"; the old file is whole
    Kept,                 ///< the player kept the changed battle: nothing opened, nothing to tell
};

/// The outcome of opening or saving a battle file; the sheet is unchanged unless it is Ok.
struct BattleFileResult {
    BattleFileStatus status = BattleFileStatus::Ok;
    std::string message;  ///< the text to show; empty when Ok
    /// Lines of an opened file that are no count as they stand, in file order: opened all
    /// the same, by the file's own reading, and to be told.
    std::vector<BattleFileProblem> problems;

    bool ok() const { return status == BattleFileStatus::Ok; }
};

/// The file's 130 lines from the sheet: for r = 1..65 column 1 then column 7 of row r,
/// cell texts as they stand.
std::vector<std::string> BattleFileLines(const SheetCells& cells);

/// The bytes of a battle file: each line ended by CR LF, the cells' 8-bit text unchanged.
/// A line break inside a cell (never typed, read or computed) is dropped so that the file
/// always has 130 lines.
std::string BattleFileBytes(const SheetCells& cells);

/// Save As: writes the sheet's two input columns to `path`, replacing the file atomically
/// (a failed save leaves the old file whole). Nothing is recalculated.
[[nodiscard]] BattleFileResult SaveBattleFile(const BattleSheet& battleSheet, const std::filesystem::path& path);
/// The same for the input columns of `cells`.
[[nodiscard]] BattleFileResult SaveBattleFile(const SheetCells& cells, const std::filesystem::path& path);

/// Open: reads `path` into columns 1 and 7 of rows 1..65 and runs UpdateCalcLog when the log
/// window is visible, else ReCalc. A missing file or one without exactly 130 lines leaves
/// the sheet unchanged. The tick, the history and the row visibility never change.
[[nodiscard]] BattleFileResult OpenBattleFile(BattleSheet& battleSheet, const std::filesystem::path& path);

/// A battle file's inputs without a sheet (the planner's commands), or why it cannot be read.
struct BattleFileInputs {
    /// What the sheet's next recalculation would read after Open: the inputs as Open's own
    /// recalculation writes them back.
    BattleState battle;
    BattleFileResult outcome;
};

/// Reads `path` as Open does, with Open's messages and the problems of its lines, into
/// numbers: no sheet is made and nothing is recalculated.
[[nodiscard]] BattleFileInputs ReadBattleFileInputs(const std::filesystem::path& path);

/// ReadBattleFileInputs of a battle file's bytes (the web page's planner, which has no files).
[[nodiscard]] BattleFileInputs ReadBattleBytesInputs(std::string_view bytes);

/// Open's work on the file's bytes once read: the line count check, the cells, the
/// recalculation.
[[nodiscard]] BattleFileResult ReadBattleFileBytes(BattleSheet& battleSheet, std::string_view bytes);

}  // namespace kestrin
