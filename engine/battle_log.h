#pragma once

#include <string>
#include <vector>

namespace kestrin {

/// The three step lists one initiative step writes its explanation into.
struct StepLists {
    std::vector<std::string> MemoHeader;  ///< step titles, side lines, ships-and-shots lines
    std::vector<std::string> MemoDef;     ///< the defender's lines
    std::vector<std::string> MemoAtt;     ///< the attacker's lines and all capture lines

    /// Empties all three lists.
    void Clear() {
        MemoHeader.clear();
        MemoDef.clear();
        MemoAtt.clear();
    }
};

/// Receives the battle log of a run (the calculation log implements it).
class BattleLogSink {
public:
    virtual ~BattleLogSink() = default;
    /// A logged run begins: clear the log text.
    virtual void BeginLogRun() = 0;
    /// An initiative step that was not skipped has ended; takes its lines.
    virtual void WriteLogStep(const StepLists& lists) = 0;
};

}  // namespace kestrin
