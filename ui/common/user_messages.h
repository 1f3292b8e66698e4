#pragma once

#include <QString>

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
    /// Whether a later tick's fleets may go over the set-up a battle file holds: the
    /// buttons "Save Over It" and "Keep the Set-up", the latter the default (and Escape).
    virtual bool AskToOverwriteSetup(QWidget* parent, const QString& text) = 0;
};

/// The program's modal message boxes.
class MessageBoxes : public UserMessages {
public:
    void Warning(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    void Alert(QWidget* parent, const QString& text) override;
    SaveChoice AskToSave(QWidget* parent, const QString& text) override;
    bool AskToOverwriteSetup(QWidget* parent, const QString& text) override;
};

}  // namespace kestrin
