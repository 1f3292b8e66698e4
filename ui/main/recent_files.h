#pragma once

#include <QSettings>
#include <QStringList>

namespace kestrin {

/// The battle files opened or saved last, newest first, kept in the user's configuration
/// (not in the program's own settings file, which holds only the colours).
class RecentFiles {
public:
    /// Most files remembered.
    static constexpr int kLimit = 8;

    RecentFiles();

    /// The remembered files, newest first.
    QStringList Files() const;
    /// Puts a file first, dropping an older mention and the oldest beyond the limit.
    void Remember(const QString& path);
    /// Forgets a file (one that no longer opens).
    void Forget(const QString& path);

private:
    void Store(const QStringList& files);
    QSettings settings_;
};

}  // namespace kestrin
