#include "ui/scan_parser/scan_text_area.h"

#include <QFocusEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTimer>

namespace kestrin {

ScanTextArea::ScanTextArea(const QString& hint, QWidget* parent) : QPlainTextEdit(hint, parent), hint_(hint) {
    // The caret blinks by timer events to the area's text control, a child object; only
    // those are held back while a long line is shown.
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl")) textControl_ = child;
    }
    if (textControl_ != nullptr) textControl_->installEventFilter(this);
    connect(document(), &QTextDocument::contentsChanged, this, &ScanTextArea::CheckLineLengths);
}

void ScanTextArea::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (!HoldsHint()) return;
    // A click's own press would place the caret right after: select once it is done.
    if (event->reason() == Qt::MouseFocusReason) {
        QTimer::singleShot(0, this, [this] {
            if (HoldsHint()) selectAll();
        });
    } else {
        selectAll();
    }
}

void ScanTextArea::insertFromMimeData(const QMimeData* source) {
    if (source->hasText()) {
        const qsizetype characters = source->text().size();
        if (characters > kMaxInsert) {
            emit InsertRefused(characters);
            return;
        }
    }
    if (HoldsHint()) selectAll();
    QPlainTextEdit::insertFromMimeData(source);
}

bool ScanTextArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textControl_ && event->type() == QEvent::Timer && blinkStopped_) return true;
    return QPlainTextEdit::eventFilter(watched, event);
}

void ScanTextArea::CheckLineLengths() {
    bool longLine = false;
    // Only a document this long can hold such a line.
    if (document()->characterCount() > kLongLine) {
        for (QTextBlock block = document()->begin(); block.isValid() && !longLine; block = block.next())
            longLine = block.length() > kLongLine;
    }
    if (longLine == blinkStopped_) return;
    blinkStopped_ = longLine;
    // A renewed focus shows the caret, which then stays shown while it does not blink.
    if (blinkStopped_ && hasFocus()) {
        QFocusEvent refocus(QEvent::FocusIn, Qt::OtherFocusReason);
        QPlainTextEdit::focusInEvent(&refocus);
    }
}

}  // namespace kestrin
