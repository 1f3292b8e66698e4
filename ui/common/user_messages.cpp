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

bool MessageBoxes::AskToOverwriteSetup(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, "Kestrin", text, QMessageBox::NoButton, parent);
    QPushButton* over = box.addButton("Save Over It", QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton("Keep the Set-up", QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == over;
}

}  // namespace kestrin
