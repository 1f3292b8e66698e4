// A changed battle is asked about before anything replaces it, whichever window the opening
// came from: File > Open Link, the scan parser's OK on a pasted link, Open Recent, a drop.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <functional>

#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "sheet/sheet_layout.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

using namespace sheet;

constexpr int kPhoenixRow = UnitRow(1);

QAction* MenuItem(TForm1& window, const QString& menu, const QString& item) {
    for (QAction* top : window.menuBar()->actions()) {
        if (top->menu() == nullptr || top->text().remove('&') != menu) continue;
        for (QAction* action : top->menu()->actions())
            if (action->text().remove('&') == item) return action;
    }
    return nullptr;
}

QAction* RecentItem(TForm1& window, const QString& file) {
    QAction* recent = MenuItem(window, "File", "Open Recent");
    if (recent == nullptr || recent->menu() == nullptr) return nullptr;
    for (QAction* action : recent->menu()->actions())
        if (action->text() == file) return action;
    return nullptr;
}

struct Opening {
    const char* name;
    std::function<void(TForm1&, const std::string& link, const std::filesystem::path& file)> open;
};

}  // namespace

class ReplaceQuestionTest : public QObject {
    Q_OBJECT

private slots:
    void everyOpeningAsksBeforeItReplacesAChangedBattle() {
        const Opening openings[] = {
            {"File > Open Link",
             [](TForm1& w, const std::string& link, const std::filesystem::path&) {
                 QApplication::clipboard()->setText(QString::fromStdString(link));
                 MenuItem(w, "File", "Open Link from Clipboard")->trigger();
             }},
            {"the scan parser's OK on a pasted link",
             [](TForm1& w, const std::string& link, const std::filesystem::path&) {
                 w.ParserDialog()->TextArea()->setPlainText(QString::fromStdString(link));
                 w.ParserDialog()->OkButton()->click();
             }},
            {"Open Recent",
             [](TForm1& w, const std::string&, const std::filesystem::path& file) {
                 QAction* item = RecentItem(w, QString::fromStdString(file.string()));
                 QVERIFY(item != nullptr);
                 item->trigger();
             }},
            {"a drop",
             [](TForm1& w, const std::string&, const std::filesystem::path& file) {
                 QVERIFY(w.OpenDroppedUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))}));
             }},
        };
        for (const Opening& opening : openings) {
            testing::UiTestEnvironment env;
            testing::RecordingMessages messages;
            TForm1 window({env.Path(), &messages});
            BattleDocument& document = window.Document();
            // The battle to open, as a file and as a link.
            document.EndEdit(kAttShips, kPhoenixRow, "5");
            const auto file = env.Path() / "shared.kbf";
            QVERIFY(window.SaveBattleFile(file));
            const std::string link = "see " + BattleLinkFragment(BattleFileBytes(window.Sheet().Cells()));
            document.EndEdit(kAttShips, kPhoenixRow, "9");  // changed since saved

            messages.answer = SaveChoice::Cancel;
            opening.open(window, link, file);
            if (QTest::currentTestFailed()) QFAIL(opening.name);
            QVERIFY2(messages.questions == QStringList{"Save changes to shared.kbf?"}, opening.name);
            QVERIFY2(window.Sheet().Cell(kAttShips, kPhoenixRow) == "9", opening.name);  // kept
            QVERIFY2(messages.warnings.isEmpty() && messages.errors.isEmpty(), opening.name);

            messages.answer = SaveChoice::Discard;
            opening.open(window, link, file);
            QVERIFY2(messages.questions.size() == 2, opening.name);
            QVERIFY2(window.Sheet().Cell(kAttShips, kPhoenixRow) == "5", opening.name);  // replaced
            window.Document().Undo();  // the opening is one step: the discarded battle comes back
            QVERIFY2(window.Sheet().Cell(kAttShips, kPhoenixRow) == "9", opening.name);
        }
    }
};

KESTRIN_UI_TEST(ReplaceQuestionTest);

}  // namespace kestrin

#include "replace_question_test.moc"
