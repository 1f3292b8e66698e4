#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/battle_log.h"

namespace kestrin {

/// What a piece of the log is written in; the log window gives each its colour (the
/// defender's and attacker's are appearance colours, the title's are fixed).
enum class LogInk : std::uint8_t { Defender, Attacker, Title, TitleDigit };

/// One line of the calculation log with its style.
struct LogLine {
    std::string text;
    bool bold = false;
    LogInk ink = LogInk::Defender;  ///< ink of the whole line unless charInks is filled
    /// Per-character inks (one per byte of text), or empty when the line has one ink.
    std::vector<LogInk> charInks;
};

/// The calculation log's text: styled lines. The log window only renders it; the battle
/// simulation writes into it through BattleLogSink.
class CalcLogText : public BattleLogSink {
public:
    /// A logged run begins: empties the text.
    void BeginLogRun() override;

    /// Appends the block of one initiative step and takes the current background.
    void WriteLogStep(const StepLists& lists) override;

    /// Empties the text (the sheet's ClearGrid).
    void Clear() { lines_.clear(); }

    /// The styled lines, in order.
    const std::vector<LogLine>& Lines() const { return lines_; }

    /// The texts of the lines, in order.
    std::vector<std::string> PlainLines() const;

private:
    void AppendTitle(const std::vector<std::string>& header, std::size_t sideIndex, LogInk ink);
    void AppendSide(const std::vector<std::string>& header, std::size_t sideIndex,
                    const std::vector<std::string>& sideLines, LogInk ink);
    void Append(const std::string& text, bool bold, LogInk ink);

    std::vector<LogLine> lines_;
};

}  // namespace kestrin
