#include "ui/setup/setup_form.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <utility>

#include "ui/setup/colour_picker.h"
#include "ui/setup/colour_swatch.h"

namespace kestrin {

namespace {

constexpr int kComponentMax = 255;
constexpr int kSliderPageStep = 10;

/// One editable element: its choice's caption and row, and the colour it edits.
struct ElementRow {
    const char* caption;
    int y;
    AppearanceColour colour;
};

// The choices from the top; the rows leave gaps between the shared, defender and attacker groups.
constexpr std::array<ElementRow, kAppearanceColourCount> kElementRows = {{
    {"Ship Background", 16, AppearanceColour::ShipBgd},
    {"Grid Lines", 36, AppearanceColour::Gridlines},
    {"Race Lines", 56, AppearanceColour::Racelines},
    {"Def. Background", 84, AppearanceColour::DefBgd},
    {"Def. Font", 104, AppearanceColour::DefFont},
    {"Def. Ships Font", 124, AppearanceColour::DefShipsFont},
    {"Def. Held Font", 144, AppearanceColour::DefHeldFont},
    {"Def. Lost Font", 164, AppearanceColour::DefLostFont},
    {"Def. Stole Font", 184, AppearanceColour::DefStealFont},
    {"Def . Left Font", 204, AppearanceColour::DefLeftFont},
    {"Att. Background", 232, AppearanceColour::AttBgd},
    {"Att. Font", 252, AppearanceColour::AttFont},
    {"Att. Ships Font", 272, AppearanceColour::AttShipsFont},
    {"Att. Held Font", 292, AppearanceColour::AttHeldFont},
    {"Att. Lost Font", 312, AppearanceColour::AttLostFont},
    {"Att. Stole Font", 332, AppearanceColour::AttStealFont},
    {"Att. Left Font", 352, AppearanceColour::AttLeftFont},
}};

constexpr std::array<int, 3> kSliderX = {64, 92, 120};
constexpr std::array<int, 3> kValueBoxX = {60, 88, 116};
constexpr std::array<const char*, 3> kComponentLetters = {"R", "G", "B"};
const QColor kCream(255, 251, 240);

std::array<int, 3> Components(Rgb colour) { return {colour.r, colour.g, colour.b}; }

QLabel* MakeValueBox(QWidget* frame, int x, const QColor& letterColour) {
    auto* box = new QLabel(frame);
    box->setGeometry(x, 142, 25, 17);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignCenter);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, kCream);
    palette.setColor(QPalette::WindowText, letterColour);
    box->setPalette(palette);
    QFont font = box->font();
    font.setBold(true);
    font.setPointSize(8);
    box->setFont(font);
    return box;
}

QPushButton* MakeButton(QWidget* frame, const char* caption, int y) {
    auto* button = new QPushButton(QString::fromLatin1(caption), frame);
    button->setGeometry(29, y, 100, 25);
    // Enter pressed on a choice must not "Save as Default" behind the user's back.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TSetupForm::TSetupForm(Appearance& appearance, std::filesystem::path settingsPath, UserMessages& messages,
                       QWidget* parent)
    : QDialog(parent), appearance_(appearance), settingsPath_(std::move(settingsPath)), messages_(messages) {
    setWindowTitle(QStringLiteral("Kestrin Setup"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(345, 421);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(rect());
    BuildEditors(frame);
    BuildButtons(frame);
    BuildElements(frame);
    ClearChoice();
    RefreshSwatches();
}

void TSetupForm::BuildEditors(QWidget* frame) {
    picker_ = new ColourPicker(frame);
    picker_->setGeometry(16, 16, 40, 144);
    connect(picker_, &ColourPicker::ColourPicked, this, &TSetupForm::ColourPickerPick);
    const std::array<QColor, 3> letterColours = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        auto* slider = new QSlider(Qt::Vertical, frame);
        slider->setGeometry(kSliderX[i], 16, 17, 125);
        slider->setRange(0, kComponentMax);
        slider->setPageStep(kSliderPageStep);
        // Position 0 (full intensity) sits at the top, and Up moves the handle up.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        connect(slider, &QSlider::valueChanged, this, &TSetupForm::SliderChange);
        sliders_[i] = slider;
        valueBoxes_[i] = MakeValueBox(frame, kValueBoxX[i], letterColours[i]);
    }
}

void TSetupForm::BuildButtons(QWidget* frame) {
    saveBtn_ = MakeButton(frame, "Save as Default", 180);
    cancelBtn_ = MakeButton(frame, "Cancel Changes", 212);
    restoreBtn_ = MakeButton(frame, "Restore Original", 244);
    closeBtn_ = MakeButton(frame, "Close Setup", 276);
    connect(saveBtn_, &QPushButton::clicked, this, &TSetupForm::SaveBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TSetupForm::CancelBtnClick);
    connect(restoreBtn_, &QPushButton::clicked, this, &TSetupForm::RestoreBtnClick);
    connect(closeBtn_, &QPushButton::clicked, this, &TSetupForm::CloseBtnClick);
}

void TSetupForm::BuildElements(QWidget* frame) {
    choiceGroup_ = new QButtonGroup(this);
    for (const ElementRow& row : kElementRows) {
        auto* swatch = new ColourSwatch(frame);
        swatch->setGeometry(156, row.y, 25, 17);
        auto* choice = new QRadioButton(QString::fromLatin1(row.caption), frame);
        choice->setGeometry(184, row.y, 130, 17);
        choiceGroup_->addButton(choice, Index(row.colour));
        swatches_[Index(row.colour)] = swatch;
        choices_[Index(row.colour)] = choice;
    }
    connect(choiceGroup_, &QButtonGroup::idToggled, this, &TSetupForm::ElementChoiceToggled);
}

std::optional<AppearanceColour> TSetupForm::ChosenElement() const {
    const int id = choiceGroup_->checkedId();
    if (id < 0) return std::nullopt;
    return static_cast<AppearanceColour>(id);
}

void TSetupForm::RefreshSwatches() {
    for (int i = 0; i < kAppearanceColourCount; ++i) swatches_[i]->SetColour(appearance_.colours[i]);
}

void TSetupForm::ElementChoiceToggled(int id, bool checked) {
    if (!checked) return;
    SetEditorsEnabled(true);
    PlaceSliders(appearance_.colours[id]);
    ShowComponents();
}

void TSetupForm::PlaceSliders(const Rgb& colour) {
    // Positioned for a colour, not moved by the user: the moves recolour nothing.
    const bool wasIgnoring = std::exchange(ignoreSliderChanges_, true);
    const auto components = Components(colour);
    for (int i = 0; i < 3; ++i) sliders_[i]->setValue(kComponentMax - components[i]);
    ignoreSliderChanges_ = wasIgnoring;
}

void TSetupForm::SliderChange() {
    if (ignoreSliderChanges_) return;
    ShowComponents();
    const auto element = ChosenElement();
    if (!element) return;
    const auto component = [this](int i) {
        return static_cast<std::uint8_t>(kComponentMax - sliders_[i]->value());
    };
    appearance_[*element] = Rgb{component(0), component(1), component(2)};
    swatches_[Index(*element)]->SetColour(appearance_[*element]);
    emit AppearanceChanged();
}

void TSetupForm::ColourPickerPick(int index) {
    SetEditorsEnabled(true);
    const Rgb picked = PickerColours()[index];
    // Each move recolours the chosen element, so it ends with exactly the picked colour.
    sliders_[0]->setValue(kComponentMax - picked.r);
    sliders_[2]->setValue(kComponentMax - picked.b);
    sliders_[1]->setValue(kComponentMax - picked.g);
}

void TSetupForm::SaveBtnClick() {
    const std::string error = SaveAppearance(settingsPath_, appearance_);
    if (!error.empty()) messages_.Alert(this, QString::fromStdString(error));
}

void TSetupForm::CancelBtnClick() { ReplaceAppearance(LoadAppearance(settingsPath_)); }

void TSetupForm::RestoreBtnClick() { ReplaceAppearance(DefaultAppearance()); }

void TSetupForm::CloseBtnClick() {
    ClearChoice();
    hide();
}

void TSetupForm::reject() {
    ClearChoice();
    QDialog::reject();
}

void TSetupForm::showEvent(QShowEvent* event) {
    RefreshSwatches();
    QDialog::showEvent(event);
}

void TSetupForm::ReplaceAppearance(const Appearance& colours) {
    appearance_ = colours;
    RefreshSwatches();
    // The sliders go back with the colours: they stand where the chosen element's colour is now.
    if (const auto element = ChosenElement()) PlaceSliders(appearance_[*element]);
    ClearChoice();
    emit AppearanceChanged();
}

void TSetupForm::ClearChoice() {
    // An exclusive group keeps one button checked; it must let go for a moment.
    if (QAbstractButton* checked = choiceGroup_->checkedButton()) {
        choiceGroup_->setExclusive(false);
        checked->setChecked(false);
        choiceGroup_->setExclusive(true);
    }
    picker_->ClearSelection();
    SetEditorsEnabled(false);
    ShowLetters();
}

void TSetupForm::SetEditorsEnabled(bool enabled) {
    for (QSlider* slider : sliders_) slider->setEnabled(enabled);
    picker_->setEnabled(enabled);
}

void TSetupForm::ShowComponents() {
    for (int i = 0; i < 3; ++i)
        valueBoxes_[i]->setText(QString::number(kComponentMax - sliders_[i]->value()));
}

void TSetupForm::ShowLetters() {
    for (int i = 0; i < 3; ++i) valueBoxes_[i]->setText(QString::fromLatin1(kComponentLetters[i]));
}

}  // namespace kestrin
