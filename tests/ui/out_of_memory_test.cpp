// Running out of memory while opening a battle file or reading a pasted report: a message,
// and the battle the window had.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <new>

#include "ui/battle_grid.h"
#include "ui/main_window.h"
#include "ui/parser_dialog.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace {

// Allocations from this size on fail while a RefuseLargeAllocations lives.
std::atomic<std::size_t> refuseFrom{std::numeric_limits<std::size_t>::max()};

struct RefuseLargeAllocations {
    explicit RefuseLargeAllocations(std::size_t size) { refuseFrom = size; }
    ~RefuseLargeAllocations() { refuseFrom = std::numeric_limits<std::size_t>::max(); }
};

}  // namespace

void* operator new(std::size_t size) {
    if (size >= refuseFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace kestrin {

class OutOfMemoryTest : public QObject {
    Q_OBJECT

    static constexpr std::size_t kLarge = 1u << 20;

private slots:
    void aBattleFileTooLargeForTheMemoryIsReportedAndTheBattleKept() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.Sheet().SetCell(1, 1, "10");
        window.ReCalc();
        const SheetCells before = window.Sheet().Cells();
        const auto path = env.Path() / "huge.kbf";
        std::ofstream(path, std::ios::binary) << std::string(2 * kLarge, '1') << std::string(129 * 2, '\n');
        {
            RefuseLargeAllocations refuse(kLarge);
            QVERIFY(!window.OpenBattleFile(path));
        }
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].startsWith("Out of memory"));
        QVERIFY(window.Sheet().Cells() == before);
        QVERIFY(window.Grid()->isVisibleTo(&window));
    }

    void aReportTooLargeForTheMemoryIsReportedAndTheBattleKept() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.Sheet().SetCell(7, 1, "25");
        window.ReCalc();
        const SheetCells before = window.Sheet().Cells();
        TParserDialog& dialog = *window.ParserDialog();
        dialog.TextArea()->setPlainText(QString(QString(99, QChar('7')) + "\n").repeated(2 * kLarge / 100) + "Harpy 5\n");
        dialog.KindOption(ReportKind::Combat)->click();
        {
            RefuseLargeAllocations refuse(kLarge);
            dialog.OkButton()->click();
        }
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].startsWith("Out of memory"));
        QVERIFY(window.Sheet().Cells() == before);
    }
};

KESTRIN_UI_TEST(OutOfMemoryTest);

}  // namespace kestrin

#include "out_of_memory_test.moc"
