#include "ui/grid/text_width_cache.h"

namespace kestrin {
namespace {

/// Spinning produces a new figure on every tick; past this many texts the cache starts over
/// rather than growing for the whole run.
constexpr qsizetype kMaxCachedTexts = 4096;

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

TextWidthCache::TextWidthCache(const QFont& font)
    : regular_(font), bold_(Bold(font)), regularMetrics_(regular_), boldMetrics_(bold_) {}

int TextWidthCache::Width(const QString& text, bool bold) {
    if (text.isEmpty()) return 0;
    QHash<QString, int>& widths = bold ? boldWidths_ : regularWidths_;
    const auto found = widths.constFind(text);
    if (found != widths.constEnd()) return *found;
    if (widths.size() >= kMaxCachedTexts) widths.clear();
    const int width = Metrics(bold).horizontalAdvance(text);
    widths.insert(text, width);
    return width;
}

}  // namespace kestrin
