#include "ui/common/user_messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace kestrin {

void MessageBoxes::Warning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, "Warning", text, QMessageBox::Ok | QMessageBox::Cancel);
}

void MessageBoxes::Alert(QWidget* parent, const QString& text) { QMessageBox::warning(parent, "Warning", text); }

void MessageBoxes::Error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, "Kestrin", text, QMessageBox::Ok, parent);
    // A long list (every statistic of a file unusable) would grow the box past the screen's
    // edge, its OK button out of reach: the box shows its start, the whole text scrolls in
    // the details.
    constexpr int kShownLines = 12;
    const QStringList lines = text.split('\n');
    if (lines.size() > kShownLines) {
        box.setText(lines.mid(0, kShownLines).join('\n') + "\n  ...");
        box.setDetailedText(text);
    }
    box.exec();
}

SaveChoice MessageBoxes::AskToSave(QWidget* parent, const QString& text) {
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, "Kestrin", text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return SaveChoice::Save;
    return answer == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

std::optional<SaveWhat> MessageBoxes::AskWhatToSave(QWidget* parent, const QString& text, int setUpTick, int tick) {
    QMessageBox box(QMessageBox::Question, "Kestrin", text, QMessageBox::NoButton, parent);
    QPushButton* setUp = box.addButton(QString("Save the Set-up of Tick %1").arg(setUpTick), QMessageBox::AcceptRole);
    QPushButton* fleets = box.addButton(QString("Save the Fleets of Tick %1").arg(tick), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(setUp);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == setUp) return SaveWhat::SetUp;
    if (box.clickedButton() == fleets) return SaveWhat::CurrentTick;
    return std::nullopt;
}

}  // namespace kestrin
