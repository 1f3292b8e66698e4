#pragma once

#include <QString>

#include <optional>

#include "sheet/battle_document.h"

class QWidget;

namespace kestrin {

/// The answers to "Save changes to NAME?".
enum class SaveChoice { Save, Discard, Cancel };

/// How the program tells the user something went wrong: message boxes in the program, a
/// recorder in tests (a modal box would stop an unattended test).
class UserMessages {
public:
    virtual ~UserMessages() = default;
    /// A warning box with the buttons OK and Cancel; either only closes it.
    virtual void Warning(QWidget* parent, const QString& text) = 0;
    /// An error box with an OK button.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    /// A warning box with an OK button only (a failed "Save as Default").
    virtual void Alert(QWidget* parent, const QString& text) = 0;
    /// A question with the buttons Save, Discard and Cancel (Escape: Cancel).
    virtual SaveChoice AskToSave(QWidget* parent, const QString& text) = 0;
    /// What to save into the battle's own file at a later tick than its set-up: the buttons
    /// "Save the Set-up of Tick N" (the default), "Save the Fleets of Tick M" and "Cancel"
    /// (and Escape, answered by no value).
    virtual std::optional<SaveWhat> AskWhatToSave(QWidget* parent, const QString& text, int setUpTick, int tick) = 0;
};

/// The program's modal message boxes.
class MessageBoxes : public UserMessages {
public:
    void Warning(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    void Alert(QWidget* parent, const QString& text) override;
    SaveChoice AskToSave(QWidget* parent, const QString& text) override;
    std::optional<SaveWhat> AskWhatToSave(QWidget* parent, const QString& text, int setUpTick, int tick) override;
};

}  // namespace kestrin
