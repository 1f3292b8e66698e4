#include "ui/main/battle_file_dialogs.h"

#include <QFileDialog>

#include "sheet/battle_file.h"

namespace kestrin {

namespace {

std::optional<std::filesystem::path> Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

QFileDialog* Prepare(QFileDialog& dialog, const std::filesystem::path& folder) {
    dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.setNameFilters(BattleFileNameFilters().split(";;"));
    dialog.setDefaultSuffix(QString::fromUtf8(kBattleFileExtension.data(), static_cast<int>(kBattleFileExtension.size())));
    return &dialog;
}

}  // namespace

QString BattleFileNameFilters() {
    // The list is pairs of a display text and a pattern separated by "|"; the display text
    // already names its pattern, which is all the toolkit's dialog needs.
    const QStringList parts = QString::fromUtf8(kBattleFileFilter.data(), static_cast<int>(kBattleFileFilter.size())).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(";;");
}

std::optional<std::filesystem::path> AskBattleFileToOpen(QWidget* parent, const std::filesystem::path& folder) {
    QFileDialog dialog(parent, "Open");
    Prepare(dialog, folder)->setFileMode(QFileDialog::ExistingFile);
    // A missing file is reported by the program itself with its own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return Run(dialog);
}

std::optional<std::filesystem::path> AskBattleFileToSave(QWidget* parent, const std::filesystem::path& folder,
                                                         const std::string& name) {
    QFileDialog dialog(parent, "Save As");
    Prepare(dialog, folder)->setAcceptMode(QFileDialog::AcceptSave);
    if (!name.empty()) dialog.selectFile(QString::fromStdString(name));
    dialog.setFileMode(QFileDialog::AnyFile);
    return Run(dialog);
}

}  // namespace kestrin
