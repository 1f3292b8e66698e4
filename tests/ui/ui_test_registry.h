#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace kestrin::testing {

/// The Qt Test classes of the ui_tests program; each test file adds its class with
/// KESTRIN_UI_TEST so that files never edit a shared list.
inline std::vector<std::function<std::unique_ptr<QObject>()>>& UiTestClasses() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> classes;
    return classes;
}

/// Adds a test class at static-initialisation time.
struct UiTestRegistration {
    explicit UiTestRegistration(std::function<std::unique_ptr<QObject>()> make) {
        UiTestClasses().push_back(std::move(make));
    }
};

}  // namespace kestrin::testing

/// Registers a QObject test class with the ui_tests program.
#define KESTRIN_UI_TEST(Class)                                                          \
    static const ::kestrin::testing::UiTestRegistration kRegister##Class{               \
        [] { return std::unique_ptr<QObject>(new Class); }}
