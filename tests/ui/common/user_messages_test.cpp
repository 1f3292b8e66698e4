// The program's own message boxes, shown for real and closed by the modal watchdog.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ui/common/user_messages.h"
#include "modal_watchdog.h"
#include "ui_test_registry.h"

namespace kestrin {

class UserMessagesTest : public QObject {
    Q_OBJECT

private slots:
    void longErrorStaysWithinTheScreen() {
        QString text = "The statistics file has values the battle rules cannot use; the built-in "
                       "values are used instead:";
        for (int i = 0; i < 300; ++i)
            text += QString("\n  Harpy: Guns '%1...' is not a valid integer value").arg(QString(40, 'x'));
        MessageBoxes().Error(nullptr, text);
        const std::vector<testing::ClosedModal> closed = testing::ModalWatchdog::Current().Take();
        QCOMPARE(closed.size(), std::size_t{1});
        const QRect shown = closed[0].frame;
        const QString details = closed[0].details;
        QVERIFY(shown.isValid());
        QVERIFY2(shown.height() <= QGuiApplication::primaryScreen()->availableGeometry().height(),
                 qPrintable(QString::number(shown.height())));
        QCOMPARE(details, text);  // nothing is lost
    }
};

KESTRIN_UI_TEST(UserMessagesTest);

}  // namespace kestrin

#include "user_messages_test.moc"
