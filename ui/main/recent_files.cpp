#include "ui/main/recent_files.h"

namespace kestrin {

namespace {
constexpr const char* kKey = "RecentBattleFiles";
}

RecentFiles::RecentFiles() : settings_(QSettings::IniFormat, QSettings::UserScope, "Kestrin", "recent") {}

QStringList RecentFiles::Files() const { return settings_.value(kKey).toStringList(); }

void RecentFiles::Remember(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kLimit) files.removeLast();
    Store(files);
}

void RecentFiles::Forget(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    Store(files);
}

void RecentFiles::Store(const QStringList& files) {
    settings_.setValue(kKey, files);
    settings_.sync();
}

}  // namespace kestrin
