// Drives the setup window's real widgets: choices, sliders, picker and buttons, with the
// settings file in a temporary folder and any message box closed by a watchdog.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>
#include <memory>

#include "ui/setup/colour_picker.h"
#include "ui/setup/colour_swatch.h"
#include "ui/setup/setup_form.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

using C = AppearanceColour;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

/// A shown setup window over its own appearance and a settings file in a fresh folder.
struct Harness {
    QTemporaryDir dir;
    std::filesystem::path folder{dir.path().toStdString()};
    std::filesystem::path settings = AppearancePath(folder);
    Appearance appearance = DefaultAppearance();
    testing::RecordingMessages messages;
    std::unique_ptr<TSetupForm> form;

    void Open() {
        form = std::make_unique<TSetupForm>(appearance, settings, messages);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void Choose(C element) { QTest::mouseClick(form->Choice(element), Qt::LeftButton, {}, QPoint(8, 8)); }
    void Pick(int index) {
        QTest::mouseClick(form->Picker(), Qt::LeftButton, {}, form->Picker()->CellRect(index).center());
    }
    QStringList Values() const {
        return {form->RedValue()->text(), form->GreenValue()->text(), form->BlueValue()->text()};
    }
    QList<int> Positions() const {
        return {form->RedSlider()->value(), form->GreenSlider()->value(), form->BlueSlider()->value()};
    }
    bool Editable() const {
        return form->RedSlider()->isEnabled() && form->GreenSlider()->isEnabled() &&
               form->BlueSlider()->isEnabled() && form->Picker()->isEnabled();
    }
    QColor PixelAt(QWidget* widget) const {
        const QImage image = form->grab().toImage();
        return image.pixelColor(widget->mapTo(form.get(), widget->rect().center()));
    }
};

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

class SetupFormTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithNothingChosenAndShowsEveryColour() {
        Harness h;
        for (int i = 0; i < kAppearanceColourCount; ++i)
            h.appearance.colours[i] = Rgb{uint8_t(i * 15), 40, uint8_t(250 - i)};
        h.Open();
        QCOMPARE(h.form->windowTitle(), QStringLiteral("Kestrin Setup"));
        QVERIFY(!h.form->isModal());
        QVERIFY(!h.form->ChosenElement());
        QVERIFY(!h.form->RedSlider()->isEnabled() && !h.form->Picker()->isEnabled());
        QCOMPARE(h.Values(), (QStringList{"R", "G", "B"}));
        for (int i = 0; i < kAppearanceColourCount; ++i)
            QCOMPARE(h.PixelAt(h.form->Swatch(C(i))), ToQColor(h.appearance.colours[i]));
        // The letter boxes: cream background, red letter.
        const QImage box = h.form->RedValue()->grab().toImage();
        QCOMPARE(box.pixelColor(3, 3), QColor(255, 251, 240));
        bool redInk = false;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x) {
                const QColor p = box.pixelColor(x, y);
                redInk = redInk || (p.red() > 200 && p.green() < 90 && p.blue() < 90);
            }
        QVERIFY(redInk);
    }

    void choicesHaveTheirCaptionsAndEditTheirOwnColour() {
        struct Row { const char* caption; C colour; };
        const Row rows[] = {
            {"Ship Background", C::ShipBgd}, {"Grid Lines", C::Gridlines}, {"Race Lines", C::Racelines},
            {"Def. Background", C::DefBgd}, {"Def. Font", C::DefFont}, {"Def. Ships Font", C::DefShipsFont},
            {"Def. Held Font", C::DefHeldFont}, {"Def. Lost Font", C::DefLostFont},
            {"Def. Stole Font", C::DefStealFont}, {"Def . Left Font", C::DefLeftFont},
            {"Att. Background", C::AttBgd}, {"Att. Font", C::AttFont}, {"Att. Ships Font", C::AttShipsFont},
            {"Att. Held Font", C::AttHeldFont}, {"Att. Lost Font", C::AttLostFont},
            {"Att. Stole Font", C::AttStealFont}, {"Att. Left Font", C::AttLeftFont}};
        Harness h;
        for (int i = 0; i < kAppearanceColourCount; ++i)
            h.appearance.colours[i] = Rgb{uint8_t(i), uint8_t(100 + i), 200};
        h.Open();
        QSignalSpy changed(h.form.get(), &TSetupForm::AppearanceChanged);
        const Appearance before = h.appearance;
        int previousTop = -1;
        for (const Row& row : rows) {
            QRadioButton* choice = h.form->Choice(row.colour);
            QCOMPARE(choice->text(), QString::fromLatin1(row.caption));
            QVERIFY(choice->y() > previousTop);
            previousTop = choice->y();
            h.Choose(row.colour);
            QCOMPARE(h.form->ChosenElement(), std::optional<C>(row.colour));
            const Rgb c = h.appearance[row.colour];
            QCOMPARE(h.Positions(), (QList<int>{255 - c.r, 255 - c.g, 255 - c.b}));
            const QStringList shown{QString::number(c.r), QString::number(c.g), QString::number(c.b)};
            QCOMPARE(h.Values(), shown);
        }
        // Positioning the sliders for a newly chosen element recolours nothing.
        QCOMPARE(changed.count(), 0);
        QVERIFY(h.appearance == before);
    }

    void blackGridLinesPutEverySliderAtTheBottom() {
        Harness h;
        h.Open();
        h.Choose(C::Gridlines);
        QVERIFY(h.Editable());
        QCOMPARE(h.Positions(), (QList<int>{255, 255, 255}));
        QCOMPARE(h.Values(), (QStringList{"0", "0", "0"}));
    }

    void movingASliderRecoloursTheChosenElementLive() {
        Harness h;
        h.Open();
        h.Choose(C::Racelines);  // 90, 90, 90
        QSignalSpy changed(h.form.get(), &TSetupForm::AppearanceChanged);
        QTest::keyClick(h.form->RedSlider(), Qt::Key_PageUp);   // up: brighter by a page
        QTest::keyClick(h.form->BlueSlider(), Qt::Key_Down);    // down: darker by one
        QCOMPARE(h.appearance[C::Racelines], (Rgb{100, 90, 89}));
        QCOMPARE(h.Values(), (QStringList{"100", "90", "89"}));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(h.PixelAt(h.form->Swatch(C::Racelines)), QColor(100, 90, 89));
        QCOMPARE(h.appearance[C::Gridlines], DefaultAppearance()[C::Gridlines]);
    }

    void everyPickerCellShowsAndGivesItsColour() {
        Harness h;
        h.Open();
        h.Choose(C::AttBgd);
        for (int i = 0; i < 16; ++i) {
            const Rgb colour = PickerColours()[i];
            // Two columns of 20 x 18 cells, numbered left to right, then top to bottom.
            const QImage picker = h.form->Picker()->grab().toImage();
            QCOMPARE(picker.pixelColor(i % 2 * 20 + 10, i / 2 * 18 + 9), ToQColor(colour));
            h.Pick(i);
            QCOMPARE(h.appearance[C::AttBgd], colour);
            QCOMPARE(h.form->Picker()->SelectedIndex(), i);
        }
    }

    void pickingWhiteIsLiveAndCancelBringsBackTheStoredColours() {
        Harness h;
        std::ofstream(h.settings) << "[Colors]\r\nDefFont=clRed\r\n";
        h.appearance = LoadAppearance(h.settings);
        h.Open();
        h.Choose(C::ShipBgd);
        h.Pick(12);  // blue
        h.Choose(C::DefFont);
        QSignalSpy changed(h.form.get(), &TSetupForm::AppearanceChanged);
        h.Pick(15);
        QCOMPARE(h.appearance[C::DefFont], (Rgb{255, 255, 255}));
        QCOMPARE(h.PixelAt(h.form->Swatch(C::DefFont)), QColor(Qt::white));
        QVERIFY(changed.count() > 0);
        changed.clear();
        QTest::mouseClick(h.form->CancelBtn(), Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(h.appearance[C::DefFont], (Rgb{255, 0, 0}));
        QCOMPARE(h.appearance[C::ShipBgd], DefaultAppearance()[C::ShipBgd]);
        QCOMPARE(h.PixelAt(h.form->Swatch(C::DefFont)), QColor(Qt::red));
        QVERIFY(!h.form->ChosenElement() && !h.Editable());
        QCOMPARE(h.Values(), (QStringList{"R", "G", "B"}));
        // The sliders went back too: red, not white.
        QCOMPARE(h.form->RedSlider()->value(), 0);
        QCOMPARE(h.form->GreenSlider()->value(), 255);
        QCOMPARE(h.form->BlueSlider()->value(), 255);
    }

    void saveWithoutAFileCreatesItAndKeepsTheWindowOpen() {
        Harness h;
        h.Open();
        h.Choose(C::AttLeftFont);
        QTest::keyClick(h.form->Choice(C::AttLeftFont), Qt::Key_Return);  // no default button to press
        QVERIFY(!std::filesystem::exists(h.settings));
        h.Pick(13);  // fuchsia
        QTest::mouseClick(h.form->SaveBtn(), Qt::LeftButton);
        QVERIFY(h.messages.warnings.isEmpty());
        QVERIFY(h.form->isVisible());
        QCOMPARE(h.form->ChosenElement(), std::optional<C>(C::AttLeftFont));
        const std::string text = ReadFile(h.settings);
        for (const char* line : {"[Colors]", "ShipBgd=$00321414", "Gridlines=clBlack", "Racelines=$005A5A5A",
                                 "DefFont=$0032FF32", "AttLeftFont=clFuchsia"})
            QVERIFY2(text.find(line) != std::string::npos, line);
        QVERIFY(LoadAppearance(h.settings) == h.appearance);
    }

    void restoreThenCloseKeepTheDefaultsWhileTheFileKeepsTheSavedOnes() {
        Harness h;
        h.Open();
        h.Choose(C::DefBgd);
        h.Pick(14);
        QTest::mouseClick(h.form->SaveBtn(), Qt::LeftButton);
        const std::string saved = ReadFile(h.settings);
        h.Choose(C::AttFont);
        QTest::mouseClick(h.form->RestoreBtn(), Qt::LeftButton);
        QVERIFY(h.appearance == DefaultAppearance());
        QVERIFY(!h.form->ChosenElement() && !h.Editable());
        QTest::mouseClick(h.form->CloseBtn(), Qt::LeftButton);
        QVERIFY(!h.form->isVisible());
        QVERIFY(h.appearance == DefaultAppearance());
        QCOMPARE(ReadFile(h.settings), saved);
        QCOMPARE(LoadAppearance(h.settings)[C::DefBgd], (Rgb{0, 255, 255}));
        // Escape (like the close box) ends editing as "Close Setup" does.
        h.form->show();
        h.Choose(C::DefLostFont);
        QTest::keyClick(h.form.get(), Qt::Key_Escape);
        QVERIFY(!h.form->isVisible());
        h.form->show();
        QVERIFY(!h.form->ChosenElement() && !h.Editable());
        QCOMPARE(h.Values(), (QStringList{"R", "G", "B"}));
    }

    void failedSaveIsReportedAndWritesNothing() {
        Harness h;
        const auto blocker = h.folder / "blocker";
        std::ofstream(blocker) << "not a folder";
        h.settings = blocker / "Kestrin.ini";
        h.Open();
        h.Choose(C::DefFont);
        h.Pick(9);
        const Appearance edited = h.appearance;
        QTest::mouseClick(h.form->SaveBtn(), Qt::LeftButton);
        const QStringList& texts = h.messages.warnings;
        QCOMPARE(texts.size(), 1);
        const QString expected = "Unable to write to " + QString::fromStdString(h.settings.string());
        QVERIFY(texts[0].startsWith(expected));
        QCOMPARE(ReadFile(blocker), std::string("not a folder"));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(h.folder), {}), 1);
        QVERIFY(h.appearance == edited);
        QVERIFY(h.form->isVisible());
    }
};

KESTRIN_UI_TEST(SetupFormTest);

}  // namespace kestrin

#include "setup_form_test.moc"
