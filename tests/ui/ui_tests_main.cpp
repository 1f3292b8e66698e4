// Runs the registered Qt Test classes on the offscreen platform: all of them, or the one named
// by the first argument (each is its own ctest entry); "--classes" lists their names. A modal
// window that appears while a class runs is closed by the watchdog; one the class did not
// expect fails it.
#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <vector>

#include "modal_watchdog.h"
#include "ui_test_registry.h"

namespace {

using kestrin::testing::UiTestClass;

// Runs one class with Qt Test's own arguments; returns its failures.
int RunClass(const UiTestClass& testClass, std::vector<char*> arguments) {
    kestrin::testing::ModalWatchdog watchdog;
    const std::unique_ptr<QObject> test = testClass.make();
    int failures = QTest::qExec(test.get(), static_cast<int>(arguments.size()), arguments.data());
    for (const kestrin::testing::ClosedModal& modal : watchdog.Take()) {
        std::fprintf(stderr, "FAIL: %s: an unexpected modal window was closed: %s\n", testClass.name.c_str(),
                     qPrintable(modal.text));
        ++failures;
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    const auto& classes = kestrin::testing::UiTestClasses();
    if (argc > 1 && std::strcmp(argv[1], "--classes") == 0) {
        for (const UiTestClass& testClass : classes) std::printf("%s\n", testClass.name.c_str());
        return 0;
    }
    const bool oneClass = argc > 1 && argv[1][0] != '-';
    std::vector<char*> qtArguments{argv[0]};
    for (int i = oneClass ? 2 : 1; i < argc; ++i) qtArguments.push_back(argv[i]);

    // Offscreen always; a run may name the offscreen platform's screens itself.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failures = 0;
    bool found = !oneClass;
    for (const UiTestClass& testClass : classes) {
        if (oneClass && testClass.name != argv[1]) continue;
        found = true;
        failures += RunClass(testClass, qtArguments);
    }
    if (!found) std::fprintf(stderr, "no Qt test class named %s\n", argv[1]);
    return failures == 0 && found ? 0 : 1;
}
