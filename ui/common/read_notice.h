#pragma once

#include <QLabel>
#include <QStringList>

namespace kestrin {

/// A note laid over the bottom of a window's area (the grid, a text area) that tells what
/// was read in a way the player would not expect, without stopping the player as a message
/// box would. It stays until the player clicks it or the window dismisses it (its content
/// changed); its tooltip lists more lines when there are more than it shows.
class ReadNotice : public QLabel {
    Q_OBJECT

public:
    /// A hidden notice over `area`, which it follows when resized, showing at most
    /// `shownLines` lines (the rest counted).
    explicit ReadNotice(QWidget* area, int shownLines = 4);

    /// Shows `heading` and `lines` (at most a few; the rest counted); hides when `lines` is empty.
    void Tell(const QString& heading, const QStringList& lines);
    /// Shows `text` alone (a save's "Saved to PATH").
    void Say(const QString& text);
    /// Hides the notice.
    void Dismiss() { hide(); }
    /// Every line of the last Tell, for tests and for its tooltip.
    const QStringList& Lines() const { return lines_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Place();

    QWidget* area_;
    int shownLines_;
    QStringList lines_;
};

}  // namespace kestrin
