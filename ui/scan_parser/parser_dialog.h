#pragma once

#include <QDialog>

#include <array>

#include "parser/apply_reports.h"
#include "sheet/battle_document.h"
#include "ui/common/read_notice.h"
#include "ui/scan_parser/scan_text_area.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace kestrin {

/// "Scan Parser": a non-modal tool window where pasted report text is applied to the sheet
/// as a sector/unit/PDS scan, a military scan or a combat report. The text area's colour
/// tells where the text goes: grey nowhere in particular, green the defender, red the attacker.
class TParserDialog : public QDialog {
    Q_OBJECT

public:
    /// A hidden dialog that applies reports to the battle of `document`, each as one step;
    /// `parent` is the main window, which gets the focus back after "OK".
    explicit TParserDialog(BattleDocument& document, QWidget* parent = nullptr);

    /// Shows the dialog without blocking the main window, in front and focused.
    void ShowParser();

    /// The report text area.
    ScanTextArea* TextArea() const { return textArea_; }
    /// "OK": applies the text; disabled until a report kind is chosen.
    QPushButton* OkButton() const { return okButton_; }
    /// "Cancel": hides the dialog.
    QPushButton* CancelButton() const { return cancelButton_; }
    /// The option choosing report kind `kind`.
    QRadioButton* KindOption(ReportKind kind) const { return kindOptions_[Index(kind)]; }
    /// The scan group's "Add to Defender" or "Add to Attacker".
    QRadioButton* ScanSideOption(Side side) const { return scanSides_[Index(side)]; }
    /// "Home", "Fleet 1", "Fleet 2", "Fleet 3" for index 0..3.
    QCheckBox* FleetBox(int index) const { return fleetBoxes_.at(static_cast<std::size_t>(index)); }
    /// The note over the text area that tells the counts "OK" read cut at a separator.
    ReadNotice* Notice() const { return notice_; }

signals:
    /// "OK" applied a report; the dialog stays open for the next one while typing goes on in
    /// the main window's grid.
    void ReportApplied();
    /// The sheet changed through "OK" or a clear button.
    void Applied();
    /// "OK" could not apply the report (out of memory); `message` says so. Nothing changed.
    void ApplyFailed(QString message);
    /// A paste was refused; `message` says why. Nothing changed.
    void PasteRefused(QString message);

private:
    template <typename Enum>
    static std::size_t Index(Enum value) { return static_cast<std::size_t>(value); }

    void BuildClearButtons();
    void BuildTextArea();
    void BuildKindOptions();
    void BuildSideGroups();
    void BuildDialogButtons();

    void KindChosen(int kind);
    void SideChosen(Side side);
    void SetTextColour(const QColor& colour);
    void OkButtonClick();
    ReportChoice CurrentChoice() const;
    std::string PlainText() const;

    BattleDocument& document_;
    bool shownBefore_ = false;
    ScanTextArea* textArea_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QButtonGroup* kindGroup_ = nullptr;
    std::array<QRadioButton*, 3> kindOptions_{};
    std::array<QRadioButton*, 2> scanSides_{};
    std::array<QRadioButton*, 2> militarySides_{};
    std::array<QCheckBox*, 4> fleetBoxes_{};
    ReadNotice* notice_ = nullptr;
};

}  // namespace kestrin
