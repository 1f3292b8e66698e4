#include "log_writer.h"

#include <algorithm>
#include <optional>

namespace kestrin {

namespace {

// Index of the first line that reads exactly `text`.
std::optional<std::size_t> FindLine(const std::vector<std::string>& lines, const std::string& text) {
    const auto found = std::find(lines.begin(), lines.end(), text);
    if (found == lines.end()) return std::nullopt;
    return static_cast<std::size_t>(found - lines.begin());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CalcLogText::CalcLogText(const LogColours& colours)
    : colours_(colours), background_(colours.ShipBgd) {}

void CalcLogText::BeginLogRun() { lines_.clear(); }

void CalcLogText::WriteLogStep(const StepLists& lists) {
    background_ = colours_.ShipBgd;
    const auto& header = lists.MemoHeader;
    const std::optional<std::size_t> defending = FindLine(header, "Defending Ships");
    const std::optional<std::size_t> attacking = FindLine(header, "Attacking Ships");
    if (defending) {
        Append("", false, colours_.DefFont);
        AppendTitle(header, *defending, kLogTitleColour);
        AppendSide(header, *defending, lists.MemoDef, colours_.DefFont);
        if (attacking) AppendSide(header, *attacking, lists.MemoAtt, colours_.AttFont);
    } else if (attacking) {
        // A block of the attacker alone shows its title in the attacker's colour; only the
        // digits take the fixed title digit colour.
        Append("", false, colours_.AttFont);
        AppendTitle(header, *attacking, colours_.AttFont);
        AppendSide(header, *attacking, lists.MemoAtt, colours_.AttFont);
    }
    // The log never begins with a blank line: the first block's separator goes.
    if (!lines_.empty() && lines_.front().text.empty()) lines_.erase(lines_.begin());
}

std::vector<std::string> CalcLogText::PlainLines() const {
    std::vector<std::string> texts;
    texts.reserve(lines_.size());
    for (const LogLine& line : lines_) texts.push_back(line.text);
    return texts;
}

// The step title is the header line just before the side line. A side line at the very top
// has no title; nothing is written for it then rather than reading before the list.
void CalcLogText::AppendTitle(const std::vector<std::string>& header, std::size_t sideIndex,
                              Rgb colour) {
    if (sideIndex == 0) return;
    LogLine title{header[sideIndex - 1], true, colour, {}};
    title.charColours.reserve(title.text.size());
    for (char c : title.text) title.charColours.push_back(IsDigit(c) ? kLogTitleDigitColour : colour);
    lines_.push_back(std::move(title));
}

// The side line and the ships-and-shots line after it in bold, then the side's own lines.
void CalcLogText::AppendSide(const std::vector<std::string>& header, std::size_t sideIndex,
                             const std::vector<std::string>& sideLines, Rgb colour) {
    for (std::size_t i = sideIndex; i <= sideIndex + 1 && i < header.size(); ++i)
        Append(header[i], true, colour);
    for (const std::string& line : sideLines) Append(line, false, colour);
}

void CalcLogText::Append(const std::string& text, bool bold, Rgb colour) {
    lines_.push_back(LogLine{text, bold, colour, {}});
}

}  // namespace kestrin
