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

void CalcLogText::BeginLogRun() { lines_.clear(); }

void CalcLogText::WriteLogStep(const StepLists& lists) {
    const auto& header = lists.MemoHeader;
    const std::optional<std::size_t> defending = FindLine(header, "Defending Ships");
    const std::optional<std::size_t> attacking = FindLine(header, "Attacking Ships");
    if (defending) {
        Append("", false, LogInk::Defender);
        AppendTitle(header, *defending, LogInk::Title);
        AppendSide(header, *defending, lists.MemoDef, LogInk::Defender);
        if (attacking) AppendSide(header, *attacking, lists.MemoAtt, LogInk::Attacker);
    } else if (attacking) {
        // A block of the attacker alone shows its title in the attacker's ink; only the
        // digits take the title's digit ink.
        Append("", false, LogInk::Attacker);
        AppendTitle(header, *attacking, LogInk::Attacker);
        AppendSide(header, *attacking, lists.MemoAtt, LogInk::Attacker);
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
                              LogInk ink) {
    if (sideIndex == 0) return;
    LogLine title{header[sideIndex - 1], true, ink, {}};
    title.charInks.reserve(title.text.size());
    for (char c : title.text) title.charInks.push_back(IsDigit(c) ? LogInk::TitleDigit : ink);
    lines_.push_back(std::move(title));
}

// The side line and the ships-and-shots line after it in bold, then the side's own lines.
void CalcLogText::AppendSide(const std::vector<std::string>& header, std::size_t sideIndex,
                             const std::vector<std::string>& sideLines, LogInk ink) {
    for (std::size_t i = sideIndex; i <= sideIndex + 1 && i < header.size(); ++i)
        Append(header[i], true, ink);
    for (const std::string& line : sideLines) Append(line, false, ink);
}

void CalcLogText::Append(const std::string& text, bool bold, LogInk ink) {
    lines_.push_back(LogLine{text, bold, ink, {}});
}

}  // namespace kestrin
