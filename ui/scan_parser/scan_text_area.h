#pragma once

#include <QPlainTextEdit>
#include <QString>

#include "parser/apply_reports.h"

namespace kestrin {

/// The scan parser's text area. Its first text is a hint to replace: it is selected whenever
/// the area gets the focus, and a paste replaces it wholly. While a line is too long to
/// repaint cheaply (a paste of megabytes on one line), the caret stops blinking and stays
/// shown, so the program is idle once the paste is in. A paste of more than kMaxInsert
/// characters is refused.
class ScanTextArea : public QPlainTextEdit {
    Q_OBJECT

public:
    /// Lines longer than this stop the caret blinking.
    static constexpr int kLongLine = 10'000;
    /// The most characters a paste or drop may bring (the page's bound too).
    static constexpr qsizetype kMaxInsert = static_cast<qsizetype>(kMaxReportCharacters);

    /// An area holding `hint`, which the first paste or typing replaces.
    ScanTextArea(const QString& hint, QWidget* parent = nullptr);

    /// Whether the area still holds its hint, untouched.
    bool HoldsHint() const { return toPlainText() == hint_; }
    /// Whether the caret has stopped blinking for a long line.
    bool BlinkStopped() const { return blinkStopped_; }

signals:
    /// A paste or drop of `characters` was refused as too long; the text is unchanged.
    void InsertRefused(qsizetype characters);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckLineLengths();

    QString hint_;
    QObject* textControl_ = nullptr;
    bool blinkStopped_ = false;
};

}  // namespace kestrin
