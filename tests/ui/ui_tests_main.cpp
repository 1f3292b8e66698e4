// Runs every registered Qt Test class on the offscreen platform with the files the program
// writes kept in a temporary folder.
#include <QApplication>
#include <QTest>

#include "ui_test_registry.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto& make : kestrin::testing::UiTestClasses()) {
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
