#pragma once

#include <QString>

#include <filesystem>

namespace kestrin {

class BattleDocument;

/// Where the file dialogs of the battle (Open, Save As, Export CSV, Save Chart) start: the
/// folder of the battle's file, else the folder of the last file chosen in one of them, else
/// the program's default folder for battles.
class DialogFolder {
public:
    DialogFolder(const BattleDocument& document, std::filesystem::path fallback)
        : document_(document), last_(std::move(fallback)) {}

    /// The folder a dialog starts in.
    std::filesystem::path Start() const;
    /// `name` in that folder, for a dialog that proposes a file name.
    QString Proposed(const std::string& name) const;
    /// A dialog chose `file`: its folder is the next start while the battle has no file.
    void Used(const std::filesystem::path& file);

private:
    const BattleDocument& document_;
    std::filesystem::path last_;
};

}  // namespace kestrin
