#pragma once

#include <filesystem>

namespace kestrin {

/// The folder holding the running program: its settings and statistics files live there, and
/// the battle file dialogs open there.
std::filesystem::path ProgramFolder();

}  // namespace kestrin
