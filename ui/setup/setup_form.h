#pragma once

#include <QDialog>

#include <array>
#include <filesystem>
#include <optional>

#include "settings/appearance.h"
#include "ui/common/user_messages.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kestrin {

class ColourPicker;
class ColourSwatch;

/// "Kestrin Setup": edits the seventeen appearance colours live and stores them on request.
/// Each slider's position is 255 minus its colour component, so full intensity is at the top.
class TSetupForm : public QDialog {
    Q_OBJECT

public:
    /// A hidden, non-modal tool window that edits `appearance` in place and keeps it in
    /// the settings file at `settingsPath`; a failed save is told through `messages`.
    TSetupForm(Appearance& appearance, std::filesystem::path settingsPath, UserMessages& messages,
               QWidget* parent = nullptr);

    /// The element whose colour the sliders and the picker edit, if any.
    std::optional<AppearanceColour> ChosenElement() const;
    /// Makes every swatch show its element's current colour.
    void RefreshSwatches();

    /// The red component's slider.
    QSlider* RedSlider() const { return sliders_[0]; }
    /// The green component's slider.
    QSlider* GreenSlider() const { return sliders_[1]; }
    /// The blue component's slider.
    QSlider* BlueSlider() const { return sliders_[2]; }
    /// The box showing "R" or the red component.
    QLabel* RedValue() const { return valueBoxes_[0]; }
    /// The box showing "G" or the green component.
    QLabel* GreenValue() const { return valueBoxes_[1]; }
    /// The box showing "B" or the blue component.
    QLabel* BlueValue() const { return valueBoxes_[2]; }
    /// The sixteen-colour picker.
    ColourPicker* Picker() const { return picker_; }
    /// The choice that selects `element` for editing.
    QRadioButton* Choice(AppearanceColour element) const { return choices_[Index(element)]; }
    /// The box showing `element`'s current colour.
    ColourSwatch* Swatch(AppearanceColour element) const { return swatches_[Index(element)]; }
    /// "Save as Default".
    QPushButton* SaveBtn() const { return saveBtn_; }
    /// "Cancel Changes".
    QPushButton* CancelBtn() const { return cancelBtn_; }
    /// "Restore Original".
    QPushButton* RestoreBtn() const { return restoreBtn_; }
    /// "Close Setup".
    QPushButton* CloseBtn() const { return closeBtn_; }

signals:
    /// A colour may have changed: the grid repaints at once, before anything is saved.
    void AppearanceChanged();

public slots:
    /// Escape and the window's close box end editing as "Close Setup" does.
    void reject() override;

protected:
    /// Opening shows the colours as they are now, with nothing chosen.
    void showEvent(QShowEvent* event) override;

private:
    static int Index(AppearanceColour element) { return static_cast<int>(element); }

    void BuildEditors(QWidget* frame);
    void BuildButtons(QWidget* frame);
    void BuildElements(QWidget* frame);

    void ElementChoiceToggled(int id, bool checked);
    void SliderChange();
    void PlaceSliders(const Rgb& colour);
    void ColourPickerPick(int index);
    void SaveBtnClick();
    void CancelBtnClick();
    void RestoreBtnClick();
    void CloseBtnClick();

    void ReplaceAppearance(const Appearance& colours);
    void ClearChoice();
    void SetEditorsEnabled(bool enabled);
    void ShowComponents();
    void ShowLetters();

    Appearance& appearance_;
    std::filesystem::path settingsPath_;
    UserMessages& messages_;
    std::array<QSlider*, 3> sliders_{};
    std::array<QLabel*, 3> valueBoxes_{};
    ColourPicker* picker_ = nullptr;
    std::array<ColourSwatch*, kAppearanceColourCount> swatches_{};
    std::array<QRadioButton*, kAppearanceColourCount> choices_{};
    QButtonGroup* choiceGroup_ = nullptr;
    QPushButton* saveBtn_ = nullptr;
    QPushButton* cancelBtn_ = nullptr;
    QPushButton* restoreBtn_ = nullptr;
    QPushButton* closeBtn_ = nullptr;
    // Set while sliders are positioned for a newly chosen element: those moves must not
    // recolour anything.
    bool ignoreSliderChanges_ = false;
};

}  // namespace kestrin
