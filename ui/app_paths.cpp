#include "app_paths.h"

#include <QCoreApplication>

namespace kestrin {

std::filesystem::path ProgramFolder() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace kestrin
