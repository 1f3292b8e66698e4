// The ship details and unit tables windows driven for real on the offscreen platform: the
// texts they show, the list that picks a unit type, and the colours and styles they paint.
#include <QComboBox>
#include <QLabel>
#include <QImage>
#include <QTest>

#include <cstdlib>
#include <memory>

#include "engine/battle_rules.h"
#include "ui/ship_info/fixed_cell_table.h"
#include "ui/ship_info/ship_details_form.h"
#include "ui/ship_info/ship_matrix_form.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

const BattleRules& DefaultRules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

ShipIndex IndexOf(const char* name) {
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        if (DefaultShipCatalogue().Name(ship) == name) return ship;
    return -1;
}

constexpr int kFuelRow = 16, kEtaRow = 17;
const QColor kMatrixBackground(20, 20, 50);

/// The most saturated text pixel of a rendered cell (grid lines excluded): antialiased text
/// keeps its full colour in the middle of its strokes, blends elsewhere.
QColor StrongestTextPixel(const QImage& cell, QColor background) {
    QColor strongest = background;
    int strongestDistance = 0;
    for (int y = 0; y < cell.height() - 1; ++y) {
        for (int x = 0; x < cell.width() - 1; ++x) {
            const QColor pixel = cell.pixelColor(x, y);
            const int distance = std::abs(pixel.red() - background.red()) +
                                 std::abs(pixel.green() - background.green()) +
                                 std::abs(pixel.blue() - background.blue());
            if (distance > strongestDistance) { strongest = pixel; strongestDistance = distance; }
        }
    }
    return strongest;
}

/// The leftmost pixel column of a rendered cell that is not background.
int FirstTextColumn(const QImage& cell, QColor background) {
    for (int x = 0; x < cell.width(); ++x)
        for (int y = 0; y < cell.height() - 1; ++y)
            if (cell.pixelColor(x, y) != background) return x;
    return -1;
}

}  // namespace

class ShipInfoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void detailsListShowsThirteenNamesAtATime() {
        TShipDetailsForm form(DefaultRules().catalogue);
        form.show();
        QCOMPARE(testing::EntriesShownAtOnce(form.ShipList()), 13);
    }

    void detailsShowTheCatalogueTexts() {
        TShipDetailsForm form(DefaultRules().catalogue);
        QCOMPARE(form.windowTitle(), QStringLiteral("Ship Details"));
        QCOMPARE(form.ShipList()->count(), kShipCount);
        QCOMPARE(form.ShipList()->currentIndex(), 0);
        QVERIFY(form.CellText(1, 0).isEmpty());

        form.ShowShipDetails(IndexOf("AstroPod"));
        QCOMPARE(form.windowTitle(), QStringLiteral("AstroPod Details"));
        QCOMPARE(form.CellText(0, 1), QStringLiteral("Race"));
        QCOMPARE(form.CellText(1, 1), QStringLiteral("Common"));

        form.ShowShipDetails(IndexOf("IonLauncher"));
        QCOMPARE(form.CellText(0, kFuelRow), QStringLiteral("Fuel"));
        QCOMPARE(form.CellText(1, kFuelRow), QStringLiteral("-"));
        QCOMPARE(form.CellText(0, kEtaRow), QStringLiteral("ETA"));
        QCOMPARE(form.CellText(1, kEtaRow), QStringLiteral("-"));
    }

    void showForSelectsAndTheListChooses() {
        TShipDetailsForm form(DefaultRules().catalogue);
        const ShipIndex avenger = IndexOf("Avenger");
        form.ShowFor(avenger, Side::Attacker);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.ShipList()->currentIndex(), avenger);
        QCOMPARE(form.windowTitle(), QStringLiteral("Avenger Details"));
        QCOMPARE(form.ShownSide(), Side::Attacker);

        // The user stepping through the list shows each type picked.
        QTest::keyClick(form.ShipList(), Qt::Key_Down);
        QCOMPARE(form.CellText(1, 0), QString::fromStdString(DefaultShipCatalogue().Name(avenger + 1)));
        QCOMPARE(form.windowTitle(), form.CellText(1, 0) + QStringLiteral(" Details"));
    }

    void detailsCellsArePaintedBlackWithGreyLines() {
        TShipDetailsForm form(DefaultRules().catalogue);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage cell = form.Table()->RenderCell(0, 8);  // "Weapon Speed"
        QCOMPARE(cell.size(), QSize(100, 18));
        QCOMPARE(cell.pixelColor(1, 1), QColor(0, 0, 0));
        QCOMPARE(cell.pixelColor(99, 5), QColor(100, 100, 100));
        QCOMPARE(cell.pixelColor(50, 17), QColor(100, 100, 100));
        const QColor text = StrongestTextPixel(cell, Qt::black);
        QVERIFY2(text.red() > 150 && text.red() == text.green() && text.green() == text.blue(),
                 qPrintable(text.name()));
    }

    void zeroKillRateShowsGreyItalicZero() {
        TShipMatrixForm form(DefaultRules());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int col = IndexOf("Avenger") + 1, row = IndexOf("Corsair") + 1;
        QCOMPARE(form.CellText(col, row), QStringLiteral("0.0"));
        QVERIFY(form.CellStyle(col, row).italic);
        QVERIFY(!form.CellStyle(col, row).bold);
        // Grey text blends with the dark blue only along its grey axis: red equals green.
        const QColor text = StrongestTextPixel(form.RenderCell(col, row), kMatrixBackground);
        QVERIFY2(text.red() > 60 && std::abs(text.red() - text.green()) <= 2, qPrintable(text.name()));
    }

    void harpyColumnFollowsTheTargetClasses() {
        TShipMatrixForm form(DefaultRules());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int harpy = IndexOf("Harpy") + 1;
        int fighters = 0;
        for (ShipIndex target = 0; target < kShipCount; ++target) {
            const std::string& cls = DefaultShipCatalogue().Field(target, ShipField::Class);
            const UnitTablesTextStyle style = form.CellStyle(harpy, target + 1);
            const bool targeted = cls == "Fi" || cls == "Co" || cls == "Fr";
            QCOMPARE(form.CellText(harpy, target + 1).isEmpty(), !targeted);
            if (cls == "Fi") {
                QCOMPARE(style.colour, QColor(0, 250, 250));
                QVERIFY(style.bold && !style.italic);
                ++fighters;
            }
            if (cls == "Co") QVERIFY(style.colour == QColor(100, 200, 200) && !style.bold && !style.italic);
            if (cls == "Fr") QVERIFY(style.colour == QColor(100, 100, 100) && style.italic);
        }
        QVERIFY(fighters > 0);
        const QColor text = StrongestTextPixel(form.RenderCell(harpy, IndexOf("Corsair") + 1), kMatrixBackground);
        QVERIFY2(text.red() < 40 && text.green() > 200 && text.blue() > 200, qPrintable(text.name()));
    }

    void demeterColumnIsEmptyAndHeadingsStayInPlace() {
        TShipMatrixForm form(DefaultRules());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int demeter = IndexOf("Demeter") + 1;
        QCOMPARE(form.CellText(demeter, 0), QStringLiteral("Demeter"));
        QCOMPARE(form.CellText(0, demeter), QStringLiteral("Demeter"));
        for (int row = 1; row <= kShipCount; ++row) QVERIFY(form.CellText(demeter, row).isEmpty());

        // Scrolled to the far corner, the headings are where they were, names indented.
        FixedCellTable* table = form.Table();
        form.RenderCell(kShipCount, kShipCount);
        QVERIFY(table->CellRect(kShipCount, 1).left() > 100);
        QCOMPARE(table->CellRect(kShipCount, 0).top(), 0);
        QCOMPARE(table->CellRect(0, kShipCount).left(), 0);
        const QImage name = form.RenderCell(0, IndexOf("XentrallisPeacekeeper") + 1);
        QCOMPARE(FirstTextColumn(name, kMatrixBackground), 3);
    }

    // The strip above the table reads out the cell under the mouse with the whole names that
    // the 40-pixel headings cut short.
    void theStripReadsOutThePointedCellWithWholeNames() {
        TShipMatrixForm form(DefaultRules());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        FixedCellTable* table = form.Table();
        const int phoenix = IndexOf("Phoenix") + 1, harpy = IndexOf("Harpy") + 1;
        QTest::mouseMove(table->viewport(), table->CellRect(phoenix, 0).center());
        QCOMPARE(form.Readout()->text(), QString("Phoenix firing"));
        QVERIFY(form.Readout()->isVisible() && form.Readout()->geometry().bottom() < table->geometry().top());
        const QString figure = form.CellText(harpy, harpy);
        QVERIFY(!figure.isEmpty());
        table->SetCurrent(harpy, harpy);
        QCOMPARE(form.Readout()->text(), "Harpy firing on Harpy: " + figure + "% of the Harpy's cost per firing");
        const int demeter = IndexOf("Demeter") + 1;
        table->SetCurrent(demeter, harpy);
        QCOMPARE(form.Readout()->text(), QString("Demeter cannot fire on Harpy"));
    }

    void editedStatisticsShowInBothWindows() {
        ShipCatalogue catalogue = DefaultShipCatalogue();
        catalogue.ships[0][ShipField::Name] = "Falcon";
        catalogue.ships[0][ShipField::Metal] = "0";  // a firer without cost: no finite share
        const BattleRules rules = MakeBattleRules(catalogue).rules;
        TShipDetailsForm details(rules.catalogue);
        QCOMPARE(details.ShipList()->itemText(0), QStringLiteral("Falcon"));
        details.ShowFor(0, Side::Defender);
        QCOMPARE(details.windowTitle(), QStringLiteral("Falcon Details"));
        TShipMatrixForm matrix(rules, ',');
        QCOMPARE(matrix.CellText(1, 0), QStringLiteral("Falcon"));
        QCOMPARE(matrix.CellText(0, 1), QStringLiteral("Falcon"));
        QCOMPARE(matrix.CellText(1, 1), QStringLiteral("-"));
        QCOMPARE(matrix.CellText(IndexOf("Avenger") + 1, IndexOf("Corsair") + 1), QStringLiteral("0,0"));
    }
};

KESTRIN_UI_TEST(ShipInfoWindowsTest);

}  // namespace kestrin

#include "ship_info_windows_test.moc"
