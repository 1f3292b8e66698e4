// Drives the debug window's real controls over a real battle sheet: traced solver calls,
// the plot's pixels, the variant choice, the matrix pages, the bailout reaction and the
// ship test run with its "Stop".
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "sheet/document_test_seam.h"
#include "engine/number_text.h"
#include "ui/debug/debug_number_text.h"
#include "ui/debug/debug_form.h"
#include "ui/debug/text_grid.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

using testing::RecordingMessages;

const QColor kBlack(0, 0, 0);
const QColor kGrey(200, 200, 200);
const QColor kYellow(250, 250, 50);
const QColor kBlue(50, 50, 250);
const QColor kGreen(0, 200, 0);

/// The main window's side: recalculates the real sheet and counts every command.
struct RecordingHost : DebugHost {
    BattleDocument* document = nullptr;
    RecordingMessages* messages = nullptr;
    int reCalcs = 0, compresses = 0, saves = 0, timerStops = 0;
    qsizetype warningsBeforeSave = -1;
    void ReCalc() override {
        ++reCalcs;
        document->Recalculate();
    }
    void CompressGrid() override { ++compresses; }
    void FileSaveAs1() override {
        ++saves;
        warningsBeforeSave = messages->warnings.size();
    }
    void StopGridTimer() override { ++timerStops; }
};

/// A log window logging every recalculation, whose first logged run reports a solver
/// bailout from inside the simulation, where the solver would.
struct BailingLog : LogWindowPort, BattleLogSink {
    explicit BailingLog(BailoutSignal& signal) : signal_(signal) {}
    int bailouts = 0;
    bool LogWindowVisible() const override { return true; }
    bool LogsEveryRecalculation() const override { return true; }
    void SetUpdateLogEnabled(bool) override {}
    void ClearLog() override {}
    BattleLogSink& LogSink() override { return *this; }
    void BeginLogRun() override {
        if (bailouts++ == 0) signal_.OnBailout();
    }
    void WriteLogStep(const StepLists&) override {}

private:
    BailoutSignal& signal_;
};

struct CountingBailout : BailoutSignal {
    int count = 0;
    void OnBailout() override { ++count; }
};

/// A debug window over its own rules, context and sheet.
struct Harness {
    explicit Harness(const ShipCatalogue& catalogue = DefaultShipCatalogue(), char separator = '.')
        : rules(MakeBattleRules(catalogue).rules) {
        context.DecimalSeparator = separator;
        context.Bailout = &earlier;
        document = std::make_unique<BattleDocument>(rules, context);
        sheet = &DocumentTestSeam::Sheet(*document);
        host.document = document.get();
        host.messages = &messages;
        form = std::make_unique<TDebugForm>(rules, *document, context, host, messages);
    }
    ShipIndex Index(const char* name) const {
        for (ShipIndex i = 0; i < kShipCount; ++i)
            if (rules.catalogue.Name(i) == name) return i;
        return -1;
    }
    int Step(ShipIndex ship) const {
        const auto& order = rules.tables.initiativeOrder;
        return static_cast<int>(std::find(order.begin(), order.end(), ship) - order.begin());
    }
    void Show() {
        form->ShowDebug();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    /// Ten attacking Harpies (30 guns) against the given defending fighters, the attacker's
    /// T1 fire traced.
    void TraceHarpiesAgainst(std::initializer_list<const char*> targets) {
        Show();
        sheet->SetCell(7, Index("Harpy") + 1, "10");
        for (const char* target : targets) sheet->SetCell(1, Index(target) + 1, "1000");
        form->DebugInitiative()->setCurrentIndex(Step(Index("Harpy")));
    }

    BattleRules rules;
    SimulationContext context;
    CountingBailout earlier;
    std::unique_ptr<BattleDocument> document;
    BattleSheet* sheet = nullptr;
    RecordingMessages messages;
    RecordingHost host;
    std::unique_ptr<TDebugForm> form;
};

int CountPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

/// Presses "Stop" once a run has locked the run buttons, from inside the run's event pumping;
/// `locked` records that the run buttons were disabled at that moment.
void StopOnceRunning(TDebugForm& f, bool& locked) {
    auto* poll = new QTimer(&f);
    QObject::connect(poll, &QTimer::timeout, &f, [&f, &locked, poll] {
        if (f.RunHoleDetectorBtn()->isEnabled()) return;
        locked = !f.RunShipTesting()->isEnabled();
        poll->deleteLater();
        poll->stop();
        QTest::mouseClick(f.StopHoleDetectorBtn(), Qt::LeftButton);
    });
    poll->start(0);
}

}  // namespace

class DebugFormTest : public QObject {
    Q_OBJECT

private slots:
    void tracedSearchFillsTheDisplayAndPlotsEveryCycle() {
        Harness h(DefaultShipCatalogue(), ',');
        const int before = h.host.reCalcs;
        h.TraceHarpiesAgainst({"Corsair", "Cutlass"});
        QCOMPARE(h.host.reCalcs, before + 2);  // ShowDebug, then the selector
        TDebugForm& f = *h.form;
        QCOMPARE(f.AvailableShotsLabel()->text(), "30");
        // 1000 / 0.17 + 1000 / 0.064, 1 decimal, the locale's separator.
        QCOMPARE(f.ShotsToKillAllLabel()->text(), "21507,4");
        QCOMPARE(f.ScaleLabel()->text(), "Scale = 0,064");
        TextGrid* results = f.DebugResultsGrid();
        QCOMPARE(results->RowCount(), 3);
        QCOMPARE(results->Cell(2, 0), "Kill Rates per Shot");
        const QStringList corsair{results->Cell(0, 1), results->Cell(1, 1), results->Cell(2, 1)};
        QCOMPARE(corsair, (QStringList{"1000", "0", "0,17"}));
        QCOMPARE(results->Cell(2, 2), "0,064");
        QCOMPARE(results->Cell(3, 1).toInt() + results->Cell(3, 2).toInt(), 30);

        TextGrid* cycles = f.CycleGrid();
        const int cycleCount = f.CyclesLabel()->text().toInt();
        QVERIFY(cycleCount > 1 && cycleCount < 50);
        QCOMPARE(cycles->RowCount(), cycleCount + 1);
        QCOMPARE(cycles->Cell(0, 0), "Cycle");
        QCOMPARE(cycles->Cell(1, 1), "0,500000");
        QCOMPARE(f.GLabel()->text(), cycles->Cell(1, cycleCount));
        QVERIFY(f.GLabel()->text().contains(QRegularExpression("^0,\\d{6}$")));

        // 360 x 300: u = 30, v = 25. The blue mark tops the axis; cycle 1 (G = 0.5) plots at
        // x = u + 5u, above the x axis.
        const QImage plot = f.PlotImage();
        QCOMPARE(plot.size(), f.DtPlotBox()->size());
        QCOMPARE(plot.pixelColor(35, 25), kBlue);
        QCOMPARE(plot.pixelColor(30, 100), kGrey);
        int greenAtHalf = 0;
        for (int y = 0; y < 270; ++y) greenAtHalf += plot.pixelColor(180, y) == kGreen;
        QCOMPARE(greenAtHalf, 5);
        QVERIFY(CountPixels(plot, kGreen) > 9 * 2);
        QVERIFY(!f.DtPlotBox()->pixmap().isNull());
    }

    // Every heading of the trace grids is read whole: a heading wider than its column wraps
    // within the header's height.
    void theTraceGridsHeadingsAreNotCut() {
        Harness h;
        h.Show();
        for (TextGrid* grid : {h.form->CycleGrid(), h.form->DebugResultsGrid()}) {
            QHeaderView* header = grid->horizontalHeader();
            const QFontMetrics metrics(header->font());
            for (int col = 0; col < grid->columnCount(); ++col) {
                const QString text = grid->Cell(col, 0);
                const QRect room(0, 0, grid->columnWidth(col) - 4, 1000);
                const QRect needed = metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, text);
                QVERIFY2(needed.width() <= room.width() && needed.height() <= header->height(),
                         qPrintable(QString("%1: %2x%3 in %4x%5").arg(text).arg(needed.width()).arg(needed.height()).arg(room.width()).arg(header->height())));
            }
        }
    }

    void numbersSwitchToScientificWhereTheyNoLongerFit() {
        const auto q = [](const std::string& text) { return QString::fromStdString(text); };
        QCOMPARE(q(FormatGeneral(0.00001, 5, ',')), "0,00001");
        QCOMPARE(q(FormatGeneral(0.0000099999, 5, ',')), "9,9999E-06");
        QCOMPARE(q(FormatGeneral(0.1 + 0.2, 15, '.')), "0.3");
        QCOMPARE(q(FormatGeneral(123456789012345678.0, 15, '.')), "1.23456789012346E+17");
        QCOMPARE(q(FormatFixedOrScientific(1234567.89, 7, 1, '.')), "1234568.0");
        QCOMPARE(q(FormatFixedOrScientific(21507352.9, 7, 1, ',')), "2,150735E+07");
        // The plot reads the labels back.
        QCOMPARE(ReadNumber("2,150735E+07", ','), std::optional<double>(21507350.0));
        QCOMPARE(ReadNumber("", ','), std::nullopt);
    }

    void quickPathLeavesTheDisplayEmptyAndPlotsTheOrigin() {
        Harness h;
        h.TraceHarpiesAgainst({"Corsair"});
        TDebugForm& f = *h.form;
        for (QLabel* label : {f.ShotsToKillAllLabel(), f.AvailableShotsLabel(), f.ScaleLabel(), f.CyclesLabel(),
                              f.GLabel(), f.ResultingShotsLabel(), f.DifferenceLabel()})
            QVERIFY(label->text().isEmpty());
        QCOMPARE(f.CycleGrid()->RowCount(), 2);
        QVERIFY(f.CycleGrid()->Cell(1, 1).isEmpty());
        QCOMPARE(f.DebugResultsGrid()->RowCount(), 2);
        QCOMPARE(h.sheet->Cell(3, h.Index("Corsair") + 1), "5");  // 30 shots at 0.17 kill 5

        // One plus of 5 + 5 - 1 pixels at the origin (30, 275); the blue mark and the
        // yellow line lie on the x axis.
        const QImage plot = f.PlotImage();
        QCOMPARE(CountPixels(plot, kGreen), 9);
        QCOMPARE(plot.pixelColor(30, 275), kGreen);
        QCOMPARE(plot.pixelColor(32, 275), kGreen);
        QCOMPARE(plot.pixelColor(30, 273), kGreen);
        QCOMPARE(plot.pixelColor(30, 278), kBlack);  // the vertical arm ends at y + 2
        QCOMPARE(plot.pixelColor(40, 275), kBlue);
        QCOMPARE(plot.pixelColor(41, 275), kYellow);  // the blue mark is 11 pixels
        QCOMPARE(plot.pixelColor(329, 275), kYellow);
        QCOMPARE(plot.pixelColor(330, 275), kBlack);
        QCOMPARE(plot.pixelColor(30, 25), kGrey);
        QCOMPARE(plot.pixelColor(100, 100), kBlack);
    }

    void dtCodeChoosesTheVariantAndRecalculates() {
        Harness h;
        h.Show();
        QCOMPARE(h.form->DebugInitiative()->count(), kShipCount);
        QCOMPARE(h.form->DebugInitiative()->itemText(0), "0  Spider");
        QCOMPARE(h.form->HoleDetectorComboBox()->itemText(53), "53  Mantis");
        const QString rate = h.form->StringGrid2()->Cell(1, 1);
        const int before = h.host.reCalcs;
        h.form->DtCodeSelector()->button(1)->click();
        QCOMPARE(h.context.SolverVariant, SolverVariant::Old);
        QCOMPARE(h.host.reCalcs, before + 1);
        h.form->DtCodeSelector()->button(0)->click();
        QCOMPARE(h.context.SolverVariant, SolverVariant::New);
        QCOMPARE(h.host.reCalcs, before + 2);
        h.form->DtCodeSelector()->button(0)->click();  // already chosen: nothing to do
        QCOMPARE(h.host.reCalcs, before + 2);
        QCOMPARE(h.form->StringGrid2()->Cell(1, 1), rate);
    }

    void matrixPagesShowClassesAndFourDecimalRates() {
        Harness h;
        TextGrid* targeting = h.form->StringGrid1();
        TextGrid* rates = h.form->StringGrid2();
        const int harpy = h.Index("Harpy") + 1, avenger = h.Index("Avenger") + 1;
        const int corsair = h.Index("Corsair") + 1, demeter = h.Index("Demeter") + 1;
        QCOMPARE(targeting->Cell(harpy, 0), "Harpy");
        QCOMPARE(rates->Cell(0, harpy), "Harpy");
        QCOMPARE(targeting->Cell(harpy, harpy), "1");
        QCOMPARE(rates->Cell(harpy, harpy), "0.0480");
        QCOMPARE(targeting->Cell(avenger, corsair), "3");  // a class with a zero rate
        QCOMPARE(rates->Cell(avenger, corsair), "0.0000");
        QCOMPARE(targeting->Cell(demeter, harpy), "0");
        QVERIFY(rates->Cell(demeter, harpy).isEmpty());
        QCOMPARE(targeting->columnWidth(5), 30);
    }

    void bailoutReactsOnlyWhileShownAndIsForwarded() {
        Harness h;
        QCOMPARE(h.context.Bailout, h.form.get());
        h.form->OnBailout();
        QVERIFY(h.messages.warnings.isEmpty());
        QCOMPARE(h.host.saves + h.host.timerStops, 0);
        QCOMPARE(h.earlier.count, 1);

        h.Show();
        QVERIFY(h.context.NoteCycles);
        QCOMPARE(h.context.TraceHook, h.form.get());
        h.form->OnBailout();
        // Asked once back in the event loop, never inside the simulation that bailed out.
        QVERIFY(h.messages.warnings.isEmpty());
        QVERIFY(QTest::qWaitFor([&] { return h.host.saves == 1; }));
        QCOMPARE(h.host.timerStops, 1);
        QCOMPARE(h.messages.warnings, QStringList{"Loop counter Bailout exceeded !"});
        QCOMPARE(h.host.saves, 1);
        QCOMPARE(h.host.warningsBeforeSave, 1);
        QCOMPARE(h.earlier.count, 2);

        h.form->hide();
        QVERIFY(!h.context.NoteCycles);
        QVERIFY(h.context.TraceHook == nullptr);
        h.form.reset();
        QCOMPARE(h.context.Bailout, &h.earlier);
    }

    // A bailout inside a run's battle is asked about once that battle is over: the box's
    // event loop (the run's timer, the spin's) then finds no recalculation to nest in, and
    // the run ends as one step before the offer to save.
    void aBailoutDuringARunIsAskedAfterItsBattleAndNestsNoRecalculation() {
        Harness h;
        h.Show();
        BailingLog log(*h.form);
        DocumentTestSeam::Sheet(*h.document).SetLogWindow(&log);
        bool busyDuringBox = true;
        int recalculationsDuringBox = -1;
        h.messages.duringWarning = [&] {
            busyDuringBox = h.document->Busy();
            const int before = h.host.reCalcs;
            for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
            recalculationsDuringBox = h.host.reCalcs - before;
        };
        h.form->Pages()->setCurrentIndex(1);
        const int shown = h.host.reCalcs;  // showing the window traced the battle
        QTest::mouseClick(h.form->RunHoleDetectorBtn(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return h.host.saves == 1; }));
        QCOMPARE(log.bailouts, 1);
        QCOMPARE(h.messages.warnings, QStringList{"Loop counter Bailout exceeded !"});
        QVERIFY(!busyDuringBox);
        QCOMPARE(recalculationsDuringBox, 0);
        QCOMPARE(h.host.reCalcs, shown + 1);  // the run stopped with the battle that bailed out
        QVERIFY(h.form->RunHoleDetectorBtn()->isEnabled());
        QVERIFY(!h.document->Holding());
        QCOMPARE(h.document->UndoName(), "Debug Run");
        DocumentTestSeam::Sheet(*h.document).SetLogWindow(nullptr);
    }

    void longListsShowThirteenEntriesAtATime() {
        Harness h;
        h.Show();
        QCOMPARE(testing::EntriesShownAtOnce(h.form->DebugInitiative()), 13);
        h.form->Pages()->setCurrentIndex(1);
        QCOMPARE(testing::EntriesShownAtOnce(h.form->HoleDetectorComboBox()), 13);
    }

    void shipRunEndsAfterTheBattleInProgressOnStop_data() {
        QTest::addColumn<QString>("guns");
        QTest::newRow("Harpy with its guns") << "3";
        QTest::newRow("Harpy without guns") << "0";
    }

    void shipRunEndsAfterTheBattleInProgressOnStop() {
        QFETCH(QString, guns);
        ShipCatalogue catalogue = DefaultShipCatalogue();
        catalogue.ships[0][ShipField::Guns] = guns.toStdString();
        Harness h(catalogue);
        h.Show();
        h.sheet->SetCell(7, 13, "777");  // the player's battle
        TDebugForm& f = *h.form;
        f.Pages()->setCurrentIndex(1);
        f.ThisShipOption()->click();
        const int harpyStep = h.Step(h.Index("Harpy"));
        f.HoleDetectorComboBox()->setCurrentIndex(harpyStep);
        f.DebugInitiative()->setCurrentIndex(0);
        bool runButtonsLocked = false;
        StopOnceRunning(f, runButtonsLocked);
        QTest::mouseClick(f.RunShipTesting(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return f.RunShipTesting()->isEnabled(); }));

        QVERIFY(!f.Running());
        QVERIFY(runButtonsLocked);
        QVERIFY(f.RunShipTesting()->isEnabled());
        QCOMPARE(f.BattlesRunBox()->text(), "1");
        QCOMPARE(h.host.compresses, 1);
        // Without "Use Random" the attacker's column holds the targets and the defender fires.
        QCOMPARE(f.DebugInitiative()->currentIndex(), harpyStep);
        QCOMPARE(f.DebugAttDef()->currentIndex(), 1);
        const int targetClass = f.DebugTargeting()->currentIndex() + 1;
        const std::optional<std::int32_t> firers = ParseInt32(h.sheet->Cell(1, 1));
        QVERIFY(firers && *firers >= 0 && *firers % 2 == 0);
        for (ShipIndex t = 0; t < kShipCount; ++t) {
            const std::string& count = h.sheet->Cell(7, t + 1);
            const bool target = h.rules.tables.targetClass[0][t] == targetClass;
            // A target holds 0..999 ships, a zero written as an empty cell.
            QVERIFY2(target ? count.empty() || (ParseInt32(count) && LenientInt32(count) <= 999) : count.empty(),
                     count.c_str());
            if (t > 0) QVERIFY(h.sheet->Cell(1, t + 1).empty());
        }
        h.document->Undo();  // the run was one step
        QCOMPARE(h.sheet->Cell(7, 13), "777");
        QVERIFY(h.sheet->Cell(1, 1).empty());
    }

    void shipRunWithATypeThatHasNoTargetEndsAtOnceAndSaysWhy() {
        Harness h;
        h.Show();
        TDebugForm& f = *h.form;
        f.Pages()->setCurrentIndex(1);
        f.ThisShipOption()->click();
        f.HoleDetectorComboBox()->setCurrentIndex(h.Step(h.Index("Demeter")));
        // A run that hangs is stopped after a while, and then fails below.
        QTimer stop;
        stop.setSingleShot(true);
        QObject::connect(&stop, &QTimer::timeout, &f, [&f] { f.StopHoleDetectorBtn()->click(); });
        stop.start(2000);
        QTest::mouseClick(f.RunShipTesting(), Qt::LeftButton);
        QVERIFY(stop.isActive());
        QVERIFY(!f.Running());
        QVERIFY(f.RunShipTesting()->isEnabled());
        QCOMPARE(h.messages.warnings.size(), 1);
        QVERIFY(h.messages.warnings[0].startsWith("Demeter has no target class"));
    }

    void randomRunIgnoresStopAndFillsBothSides() {
        Harness h;
        h.Show();
        h.sheet->SetCell(1, 13, "777");  // the player's battle
        TDebugForm& f = *h.form;
        f.Pages()->setCurrentIndex(1);
        const int before = h.host.reCalcs;
        bool runButtonsLocked = false;
        StopOnceRunning(f, runButtonsLocked);
        QTest::mouseClick(f.RunHoleDetectorBtn(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return f.RunHoleDetectorBtn()->isEnabled(); }, 20000));
        QVERIFY(runButtonsLocked);
        QCOMPARE(h.host.reCalcs, before + 1000);
        QCOMPARE(f.BattlesRunBox()->text(), "0");
        for (int row = 1; row <= kShipCount; ++row)
            for (int col : {1, 7}) {
                const std::string& count = h.sheet->Cell(col, row);
                QVERIFY(count.empty() || (ParseInt32(count) && LenientInt32(count) <= 9999));
            }
        h.document->Undo();  // the thousand battles were one step
        for (int row = 1; row <= kShipCount; ++row)
            for (int col : {1, 7}) QCOMPARE(h.sheet->Cell(col, row), col == 1 && row == 13 ? "777" : "");
    }
};

KESTRIN_UI_TEST(DebugFormTest);

}  // namespace kestrin

#include "debug_form_test.moc"
