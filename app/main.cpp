// The desktop program: the main window and its secondary windows on one event loop.
// A battle file named on the command line (as a file manager's "Open with" passes it) is
// opened once the window is up.
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStringList>
#include <QTimer>

#include <clocale>

#include "ui/main/guarded_application.h"
#include "ui/main/main_window.h"

int main(int argc, char** argv) {
    kestrin::GuardedApplication app(argc, argv);
    // The toolkit takes the system's locale for the C library too; figures in files and
    // logs are formatted with explicit separators, so keep C's numbers neutral.
    std::setlocale(LC_NUMERIC, "C");
    // The application's name only: a display name would be appended to every title bar,
    // and each window's caption must read exactly as it is.
    QApplication::setApplicationName("Kestrin");
    // Ties the windows to the installed desktop entry and its icon (task bars, docks).
    QApplication::setDesktopFileName(KESTRIN_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(KESTRIN_APP_ID));
    // Every window, menus included, is laid out for Arial at 8 points.
    QApplication::setFont(QFont("Arial", 8));
    kestrin::TForm1 window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::filesystem::path file = arguments.at(1).toStdString();
        QTimer::singleShot(0, &window, [&window, file] { window.OpenBattleFile(file); });
    }
    return QApplication::exec();
}
