#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include "ui/common/user_messages.h"

namespace kestrin::testing {

/// Records the messages the windows would show, so that no modal box stops a test.
class RecordingMessages : public UserMessages {
public:
    QStringList warnings;
    QStringList errors;
    QStringList questions;
    /// What every "Save changes?" question is answered.
    SaveChoice answer = SaveChoice::Discard;
    /// What happens while a warning's box is open: a real box runs an event loop.
    std::function<void()> duringWarning;
    void Warning(QWidget*, const QString& text) override {
        warnings << text;
        if (duringWarning) duringWarning();
    }
    void Error(QWidget*, const QString& text) override { errors << text; }
    void Alert(QWidget*, const QString& text) override { warnings << text; }
    SaveChoice AskToSave(QWidget*, const QString& text) override {
        questions << text;
        return answer;
    }
    /// What every question before saving a later tick over a set-up is answered.
    std::optional<SaveWhat> whatToSave;
    std::optional<SaveWhat> AskWhatToSave(QWidget*, const QString& text, int, int) override {
        questions << text;
        return whatToSave;
    }
};

/// A fresh program folder per test and user configuration kept out of the real one.
struct UiTestEnvironment {
    UiTestEnvironment() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    QTemporaryDir folder;
    /// The folder as a path.
    std::filesystem::path Path() const { return std::filesystem::path(folder.path().toStdString()); }
};

/// Opens a drop-down list and counts the entries its list shows at once.
inline int EntriesShownAtOnce(QComboBox* combo) {
    combo->showPopup();
    const QAbstractItemView* list = combo->view();
    const int shown = list->viewport()->height() / list->sizeHintForRow(0);
    combo->hidePopup();
    return shown;
}

}  // namespace kestrin::testing
