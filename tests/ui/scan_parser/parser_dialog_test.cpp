// The scan parser dialog driven through its real controls: when "OK" may be pressed, where
// the text goes and in which colour it is painted, and a combat report replacing the sheet.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "sheet/document_test_seam.h"
#include "engine/battle_rules.h"
#include "sheet/battle_document.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui_test_registry.h"

namespace kestrin {
namespace {

const QColor kGrey(200, 200, 200), kGreen(50, 255, 50), kRed(255, 100, 100);

bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 30 && std::abs(a.green() - b.green()) <= 30 &&
           std::abs(a.blue() - b.blue()) <= 30;
}

/// A shown dialog over an empty sheet.
struct DialogUnderTest {
    BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    SimulationContext context;
    BattleDocument document{rules, context};
    BattleSheet& sheet = DocumentTestSeam::Sheet(document);
    TParserDialog dialog{document};
    bool exposed = false;

    DialogUnderTest() {
        dialog.ShowParser();
        exposed = QTest::qWaitForWindowExposed(&dialog);
    }
    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, 8)); }

    /// The one of the three text colours found among the painted pixels (invalid: none or several).
    QColor TextColour() const {
        const QImage image = dialog.TextArea()->viewport()->grab().toImage();
        QList<QColor> found;
        for (const QColor& candidate : {kGrey, kGreen, kRed}) {
            bool seen = false;
            for (int y = 0; y < image.height() && !seen; ++y)
                for (int x = 0; x < image.width() && !seen; ++x) seen = Near(image.pixelColor(x, y), candidate);
            if (seen) found << candidate;
        }
        return found.size() == 1 ? found.first() : QColor();
    }
};

}  // namespace

class ParserDialogTest : public QObject {
    Q_OBJECT

private slots:
    void countsWrittenWithASeparatorAreToldBesideTheTextAndAddedAsRead() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        t.dialog.TextArea()->setPlainText("Beetle 1,000\nHarpy 7");
        t.Click(t.dialog.KindOption(ReportKind::Scan));
        t.Click(t.dialog.OkButton());
        QCOMPARE(t.sheet.Cell(1, 14), std::string("1000"));
        QCOMPARE(t.sheet.Cell(1, 1), std::string("7"));
        QVERIFY(t.dialog.Notice()->isVisible());
        QCOMPARE(t.dialog.Notice()->Lines(), QStringList{"line 1: Beetle: '1,000' read as 1000"});
        t.dialog.TextArea()->setPlainText("Harpy 7");  // the text it spoke of is gone
        QVERIFY(!t.dialog.Notice()->isVisible());
        t.Click(t.dialog.OkButton());
        QVERIFY(!t.dialog.Notice()->isVisible());
    }

    // A link pasted from a chat needs no report kind: OK opens the battle it carries.
    void aPastedBattleLinkOpensItsBattle() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        SimulationContext context;
        BattleDocument shared{t.rules, context};
        shared.EndEdit(1, 1, "300");
        QVERIFY(!t.dialog.OkButton()->isEnabled());
        t.dialog.TextArea()->setPlainText(QString::fromStdString(
            "take this: " + BattleLinkFragment(BattleFileBytes(shared.Sheet().Cells()))));
        QVERIFY(t.dialog.OkButton()->isEnabled());
        t.Click(t.dialog.OkButton());
        QCOMPARE(t.sheet.Cell(1, 1), std::string("300"));
        QCOMPARE(t.sheet.Cells(), shared.Sheet().Cells());
    }

    void scansAreAddedToTheChosenSideOncePerOk() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        QSignalSpy applied(&t.dialog, &TParserDialog::Applied);
        QCOMPARE(t.TextColour(), kGrey);
        t.Click(t.dialog.OkButton());
        QCOMPARE(applied.count(), 0);

        t.dialog.TextArea()->setPlainText("Scan results\nHarpy 100 Phoenix 7\nScore 5000");
        t.Click(t.dialog.KindOption(ReportKind::Scan));
        t.Click(t.dialog.ScanSideOption(Side::Attacker));
        t.Click(t.dialog.OkButton());
        t.Click(t.dialog.OkButton());
        QCOMPARE(applied.count(), 2);
        QCOMPARE(t.sheet.Cell(7, 1), std::string("200"));
        QCOMPARE(t.sheet.Cell(7, 65), std::string("10000"));
        QCOMPARE(t.sheet.Cell(1, 1), std::string());

        t.dialog.TextArea()->setPlainText("Harpy 1 20 300 4000");
        t.Click(t.dialog.KindOption(ReportKind::Military));
        t.Click(t.dialog.FleetBox(2));
        t.Click(t.dialog.OkButton());
        QCOMPARE(t.sheet.Cell(1, 1), std::string("300"));
    }

    void sideGroupsKeepTheirChoiceWhileDisabled() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        t.Click(t.dialog.KindOption(ReportKind::Scan));
        QCOMPARE(t.TextColour(), kGreen);
        t.Click(t.dialog.ScanSideOption(Side::Attacker));
        QCOMPARE(t.TextColour(), kRed);

        t.Click(t.dialog.KindOption(ReportKind::Military));
        QVERIFY(!t.dialog.ScanSideOption(Side::Attacker)->isEnabled());
        QVERIFY(t.dialog.ScanSideOption(Side::Attacker)->isChecked());
        QVERIFY(t.dialog.FleetBox(3)->isEnabled());
        QCOMPARE(t.TextColour(), kGreen);

        t.Click(t.dialog.KindOption(ReportKind::Scan));
        QCOMPARE(t.TextColour(), kRed);
        QVERIFY(!t.dialog.FleetBox(0)->isEnabled());
        t.Click(t.dialog.KindOption(ReportKind::Combat));
        QCOMPARE(t.TextColour(), kGrey);
    }

    void tabLeavesTheTextAreaAndAPastedTabStays() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        t.dialog.TextArea()->setPlainText("Harpy\t100");
        t.dialog.TextArea()->setFocus();
        QTest::keyClick(t.dialog.TextArea(), Qt::Key_Tab);
        QCOMPARE(t.dialog.TextArea()->toPlainText(), QString("Harpy\t100"));
        QVERIFY(!t.dialog.TextArea()->hasFocus());
    }

    void combatReportReplacesTheSheetAtTickOne() {
        DialogUnderTest t;
        QVERIFY(t.exposed);
        t.sheet.SetCell(1, 2, "50");
        t.sheet.StepForward();
        // Attacker 100 total, 10 lost; defender 200 total, 20 lost.
        t.dialog.TextArea()->setPlainText("Harpy 100 10 0 200 20 0   ");
        t.Click(t.dialog.KindOption(ReportKind::Combat));
        t.Click(t.dialog.OkButton());
        QCOMPARE(t.sheet.CurrentTick(), 1);
        QVERIFY(t.sheet.ReportView());
        QCOMPARE(t.sheet.Cell(1, 2), std::string());
        QCOMPARE(t.sheet.Cell(1, 1), std::string("200"));
        QCOMPARE(t.sheet.Cell(11, 1), std::string("10"));
        QCOMPARE(t.sheet.Cell(5, 0), std::string("Lost"));

        t.Click(t.dialog.CancelButton());
        QVERIFY(!t.dialog.isVisible());
        QVERIFY(t.dialog.KindOption(ReportKind::Combat)->isChecked());
    }
};

KESTRIN_UI_TEST(ParserDialogTest);

}  // namespace kestrin

#include "parser_dialog_test.moc"
