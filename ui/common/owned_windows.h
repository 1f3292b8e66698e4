#pragma once

#include <QWidget>

#include <memory>
#include <vector>

namespace kestrin {

/// Owns windows and deletes them in the reverse order of their creation, as members go. A
/// window that refers to its owner's members is owned by one declared after those members, so
/// that it goes first: Qt would delete it only after every member, as a child.
class OwnedWindows {
public:
    OwnedWindows() = default;
    OwnedWindows(const OwnedWindows&) = delete;
    OwnedWindows& operator=(const OwnedWindows&) = delete;
    ~OwnedWindows() {
        while (!windows_.empty()) windows_.pop_back();
    }

    /// Takes `window` over; returns it.
    template <typename Window>
    Window* Own(Window* window) {
        windows_.emplace_back(window);
        return window;
    }

private:
    std::vector<std::unique_ptr<QWidget>> windows_;
};

}  // namespace kestrin
