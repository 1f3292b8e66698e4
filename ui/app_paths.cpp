#include "app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "settings/program_files.h"

namespace kestrin {

ProgramFolders DesktopProgramFolders() {
    ProgramFilesEnvironment environment = CurrentProgramFilesEnvironment(nullptr);
    environment.executableFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    return {PrepareProgramFilesFolder(environment),
            BattleFileDialogFolder(environment.executableFolder, documents, QDir::homePath().toStdString())};
}

}  // namespace kestrin
