#pragma once

#include <string>
#include <vector>

#include "engine/battle_log.h"
#include "log_colours.h"

namespace kestrin {

/// One line of the calculation log with its style.
struct LogLine {
    std::string text;
    bool bold = false;
    Rgb colour;  ///< colour of the whole line unless charColours is filled
    /// Per-character colours (one per byte of text), or empty when the line has one colour.
    std::vector<Rgb> charColours;
};

/// The calculation log's text: styled lines and a background colour. The log window only
/// renders it; the battle simulation writes into it through BattleLogSink.
class CalcLogText : public BattleLogSink {
public:
    /// An empty log in the given colours.
    explicit CalcLogText(const LogColours& colours = {});

    /// Takes the current appearance colours; used from the next write on.
    void SetColours(const LogColours& colours) { colours_ = colours; }

    /// A logged run begins: empties the text.
    void BeginLogRun() override;

    /// Appends the block of one initiative step and takes the current background.
    void WriteLogStep(const StepLists& lists) override;

    /// The writer run with logging off (window creation, mouse release over the grid):
    /// only the background follows the current ShipBgd.
    void RefreshBackground() { background_ = colours_.ShipBgd; }

    /// Empties the text (the sheet's ClearGrid).
    void Clear() { lines_.clear(); }

    /// The styled lines, in order.
    const std::vector<LogLine>& Lines() const { return lines_; }

    /// The background the log is shown on.
    Rgb Background() const { return background_; }

    /// The texts of the lines, in order.
    std::vector<std::string> PlainLines() const;

private:
    void AppendTitle(const std::vector<std::string>& header, std::size_t sideIndex, Rgb colour);
    void AppendSide(const std::vector<std::string>& header, std::size_t sideIndex,
                    const std::vector<std::string>& sideLines, Rgb colour);
    void Append(const std::string& text, bool bold, Rgb colour);

    LogColours colours_;
    Rgb background_;
    std::vector<LogLine> lines_;
};

}  // namespace kestrin
