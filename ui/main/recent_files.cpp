#include "ui/main/recent_files.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrin {

namespace {
constexpr const char* kKey = "RecentBattleFiles";
}

RecentFiles::RecentFiles() {
    const QString path = Path();
    // The settings object parses the whole file as it opens it: a list of 200,000 entries
    // held the window back for a minute. A file larger than the list can be was not written
    // by this program's limit; it is not read, and the list starts anew.
    if (QFileInfo(path).size() > kFileLimit && !QFile::remove(path)) return;
    settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString RecentFiles::Path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Kestrin/recent.ini";
}

QStringList RecentFiles::Files() const {
    if (!settings_) return {};
    return settings_->value(kKey).toStringList().mid(0, kLimit);
}

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
    if (!settings_) return;
    settings_->setValue(kKey, files);
    settings_->sync();
}

}  // namespace kestrin
