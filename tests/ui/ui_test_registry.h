#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrin::testing {

/// One Qt Test class of the ui_tests program.
struct UiTestClass {
    std::string name;
    std::function<std::unique_ptr<QObject>()> make;
};

/// The Qt Test classes of the ui_tests program; each test file adds its class with
/// KESTRIN_UI_TEST so that files never edit a shared list.
inline std::vector<UiTestClass>& UiTestClasses() {
    static std::vector<UiTestClass> classes;
    return classes;
}

/// Adds a test class at static-initialisation time.
struct UiTestRegistration {
    UiTestRegistration(std::string name, std::function<std::unique_ptr<QObject>()> make) {
        UiTestClasses().push_back({std::move(name), std::move(make)});
    }
};

}  // namespace kestrin::testing

/// Registers a QObject test class with the ui_tests program.
#define KESTRIN_UI_TEST(Class)                                                          \
    static const ::kestrin::testing::UiTestRegistration kRegister##Class{               \
        #Class, [] { return std::unique_ptr<QObject>(new Class); }}
