// The calculation log window over a real sheet: when it recomputes, how a step's block is
// styled in the rendered document, and the background it paints.
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "sheet/document_test_seam.h"
#include "engine/battle_rules.h"
#include "sheet/battle_document.h"
#include "ui/log/calc_log_window.h"
#include "ui/log/log_colours.h"
#include "ui_test_registry.h"

namespace kestrin {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

/// A sheet connected to a log window, both sides holding Harpies, which fire at each other.
struct LogUnderTest {
    BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    SimulationContext context;
    BattleDocument document{rules, context};
    BattleSheet& sheet = DocumentTestSeam::Sheet(document);
    Appearance appearance = DefaultAppearance();
    TForm2 window{document, appearance};

    LogUnderTest() {
        sheet.SetLogWindow(&window);
        sheet.SetCell(1, 1, "100");
        sheet.SetCell(7, 1, "100");
    }
    QStringList Blocks() const { return window.LogText()->toPlainText().split('\n'); }
    QTextCharFormat Format(int block, int fragment = 0) const {
        auto it = window.LogText()->document()->findBlockByNumber(block).begin();
        for (int i = 0; i < fragment; ++i) ++it;
        return it.fragment().charFormat();
    }
    QColor BackgroundPixel() const {
        const QImage image = window.LogText()->viewport()->grab().toImage();
        return image.pixelColor(image.width() - 4, image.height() - 4);
    }
};

}  // namespace

class CalcLogWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showLogComputesOnlyAnOutOfDateLog() {
        LogUnderTest t;
        QSignalSpy recalculated(&t.window, &TForm2::Recalculated);
        t.window.ShowLog();
        t.window.ShowLog();
        QCOMPARE(recalculated.count(), 1);
        QVERIFY(!t.window.UpdateLogButton()->isEnabled());

        t.sheet.SetCell(7, 1, "300");
        t.sheet.Recalculate();
        t.window.ShowLog();
        QCOMPARE(recalculated.count(), 2);
        QVERIFY(t.Blocks().contains("300 Harpy left to fire with 900 guns."));
        // A tick step with the log shown logs through the sheet alone; the window follows.
        t.sheet.StepForward();
        QVERIFY(!t.Blocks().contains("300 Harpy left to fire with 900 guns."));
        t.sheet.ClearGrid();
        QCOMPARE(t.window.LogText()->toPlainText(), QString());
    }

    void bothSidesShareOneBlockUnderOneTitle() {
        LogUnderTest t;
        t.window.UpdateCalcLog();
        const QStringList blocks = t.Blocks();
        QVERIFY(blocks.first().startsWith("Initiatve Step  "));
        QCOMPARE(blocks.filter("Initiatve Step").size(), 1);
        QVERIFY(!blocks.contains(QString()));
        const int attacking = blocks.indexOf("Attacking Ships");
        QCOMPARE(blocks.indexOf("Defending Ships"), 1);
        QVERIFY(attacking > 3);
        // "Initiatve Step  " then the step number: the digits have a colour of their own.
        QCOMPARE(t.Format(0, 0).foreground().color(), ToQColor(kLogTitleColour));
        QCOMPARE(t.Format(0, 1).foreground().color(), ToQColor(kLogTitleDigitColour));
        QCOMPARE(t.Format(0, 1).fontWeight(), int(QFont::Bold));
        QCOMPARE(t.Format(3).fontWeight(), int(QFont::Normal));
        QCOMPARE(t.Format(1).foreground().color(), ToQColor(t.appearance[AppearanceColour::DefFont]));
        QCOMPARE(t.Format(attacking).foreground().color(), ToQColor(t.appearance[AppearanceColour::AttFont]));
    }

    void backgroundFollowsShipBgdAtEachWriterRun() {
        LogUnderTest t;
        t.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.window));
        QCOMPARE(t.BackgroundPixel(), ToQColor(t.appearance[AppearanceColour::ShipBgd]));
        t.appearance[AppearanceColour::ShipBgd] = {120, 10, 10};
        t.window.WriteLogStep();
        QCOMPARE(t.BackgroundPixel(), QColor(120, 10, 10));
        t.appearance[AppearanceColour::ShipBgd] = {0, 90, 40};
        t.window.UpdateCalcLog();
        QCOMPARE(t.BackgroundPixel(), QColor(0, 90, 40));
    }
};

KESTRIN_UI_TEST(CalcLogWindowTest);

}  // namespace kestrin

#include "calc_log_window_test.moc"
