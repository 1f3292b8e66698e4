#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

namespace kestrin {

/// Text widths in the grid's regular and bold fonts, measured once per distinct text: the
/// grid measures the same figures on every repaint, up to fifty times a second while a
/// count is spun.
class TextWidthCache {
public:
    /// Measures in `font` and its bold form.
    explicit TextWidthCache(const QFont& font);

    /// The width of `text` in the regular (or bold) font.
    int Width(const QString& text, bool bold);
    /// The height of a line of text in the regular (or bold) font.
    int Height(bool bold) const { return Metrics(bold).height(); }
    /// The ascent of the regular (or bold) font: baseline below the top of the text.
    int Ascent(bool bold) const { return Metrics(bold).ascent(); }
    /// The regular (or bold) font.
    const QFont& Font(bool bold) const { return bold ? bold_ : regular_; }

private:
    const QFontMetrics& Metrics(bool bold) const { return bold ? boldMetrics_ : regularMetrics_; }

    QFont regular_;
    QFont bold_;
    QFontMetrics regularMetrics_;
    QFontMetrics boldMetrics_;
    QHash<QString, int> regularWidths_;
    QHash<QString, int> boldWidths_;
};

}  // namespace kestrin
