#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace kestrin {

/// The battle files opened or saved last, newest first, kept in the user's configuration
/// (not in the program's own settings file, which holds only the colours).
class RecentFiles {
public:
    /// Most files remembered.
    static constexpr int kLimit = 8;
    /// More than the list of kLimit names could take, however long and strange the names.
    static constexpr qint64 kFileLimit = 256 * 1024;

    RecentFiles();

    /// Where the list is kept: recent.ini in the user's configuration folder for Kestrin.
    static QString Path();

    /// The remembered files, newest first, at most kLimit.
    QStringList Files() const;
    /// Puts a file first, dropping an older mention and the oldest beyond the limit.
    void Remember(const QString& path);
    /// Forgets a file (one that no longer opens).
    void Forget(const QString& path);

private:
    void Store(const QStringList& files);
    // Null when the file is too large to read and cannot be replaced.
    std::unique_ptr<QSettings> settings_;
};

}  // namespace kestrin
