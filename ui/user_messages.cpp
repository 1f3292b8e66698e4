#include "user_messages.h"

#include <QMessageBox>

namespace kestrin {

void MessageBoxes::Warning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, "Warning", text, QMessageBox::Ok | QMessageBox::Cancel);
}

void MessageBoxes::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, "Kestrin", text, QMessageBox::Ok);
}

}  // namespace kestrin
