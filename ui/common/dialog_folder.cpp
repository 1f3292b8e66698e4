#include "ui/common/dialog_folder.h"

#include "sheet/battle_document.h"

namespace kestrin {

std::filesystem::path DialogFolder::Start() const {
    if (!document_.File().empty()) return document_.File().parent_path();
    return last_;
}

QString DialogFolder::Proposed(const std::string& name) const {
    return QString::fromStdString((Start() / name).string());
}

void DialogFolder::Used(const std::filesystem::path& file) {
    if (file.has_parent_path()) last_ = file.parent_path();
}

}  // namespace kestrin
