#include "ui/main/app_paths.h"

#include <QDir>
#include <QStandardPaths>

#include "settings/program_files.h"

namespace kestrin {

ProgramFolders DesktopProgramFolders() {
    const ProgramFilesEnvironment environment = CurrentProgramFilesEnvironment(nullptr);
    const std::filesystem::path documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    return {PrepareProgramFilesFolder(environment),
            BattleFileDialogFolder(environment.executableFolder, documents, QDir::homePath().toStdString())};
}

}  // namespace kestrin
