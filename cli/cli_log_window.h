#pragma once

#include "sheet/log_window_port.h"
#include "sheet/log_writer.h"

namespace kestrin {

/// The calculation log as kestrin-cli keeps it: "visible" with --log, so that every
/// recalculation the command makes runs as "Update Log" does and the log matches the sheet.
class CliLogWindow : public LogWindowPort {
public:
    explicit CliLogWindow(bool visible) : visible_(visible) {}

    bool LogWindowVisible() const override { return visible_; }
    bool LogsEveryRecalculation() const override { return visible_; }
    void SetUpdateLogEnabled(bool) override {}
    void ClearLog() override { text_.Clear(); }
    BattleLogSink& LogSink() override { return text_; }

    /// The log's lines, in order.
    std::vector<std::string> Lines() const { return text_.PlainLines(); }

private:
    bool visible_;
    CalcLogText text_;
};

}  // namespace kestrin
