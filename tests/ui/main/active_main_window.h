#pragma once

#include <QApplication>
#include <QTest>

#include <string>

#include "ui/grid/battle_grid.h"
#include "ui/main/main_window.h"
#include "ui_test_support.h"

namespace kestrin::testing {

/// The main window shown and active, so that its keys reach it as a player's would.
struct ActiveMainWindow {
    UiTestEnvironment env;
    RecordingMessages messages;
    TForm1 window{{env.Path(), &messages}};

    ActiveMainWindow() {
        window.resize(700, 1400);  // every row in view
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        window.Grid()->setFocus();
    }
    BattleGrid& Grid() { return *window.Grid(); }
    std::string Cell(int col, int row) { return window.Sheet().Cell(col, row); }
    void Click(int col, int row) {
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().CellRect(col, row).center());
    }
    /// Types into a cell and presses Enter.
    void Type(int col, int row, const QString& text) {
        Click(col, row);
        QTest::keyClicks(&Grid(), text);
        QTest::keyClick(&Grid(), Qt::Key_Return);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&Grid(), key, modifiers); }
};

}  // namespace kestrin::testing
