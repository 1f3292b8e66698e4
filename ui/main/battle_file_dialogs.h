#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace kestrin {

/// The open dialog for battle files, starting in `folder`; empty when cancelled.
std::optional<std::filesystem::path> AskBattleFileToOpen(QWidget* parent, const std::filesystem::path& folder);

/// The save dialog: "kbf" added to a name typed without an extension, confirmation before
/// overwriting; empty when cancelled.
std::optional<std::filesystem::path> AskBattleFileToSave(QWidget* parent, const std::filesystem::path& folder,
                                                         const std::string& name = {});

/// The dialogs' file-type list in the toolkit's form ("text (patterns);;...").
QString BattleFileNameFilters();

}  // namespace kestrin
