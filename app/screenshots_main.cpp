// Renders each window of the program with a real battle on it into PNG files, for the
// documentation: kestrin-screenshots OUTPUT_FOLDER BATTLE.kbf
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <iostream>

#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/debug/debug_form.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_form.h"
#include "ui/setup/setup_form.h"
#include "ui/ship_info/ship_details_form.h"
#include "ui/ship_info/ship_matrix_form.h"

namespace {

bool Save(QWidget* window, const QString& folder, const QString& name) {
    window->show();
    QApplication::processEvents();
    const bool saved = window->grab().save(folder + "/" + name);
    if (!saved) std::cerr << "cannot write " << name.toStdString() << "\n";
    return saved;
}

// The planner sweeping the attacker's AstroPods over the whole battle, a point chosen, its
// findings beside the chart; then its "Best Fleet" page with the fleet found for the most
// initiated asteroids, its Spiders and Beetles varied.
bool SavePlanner(kestrin::TPlannerForm* planner, const QString& folder) {
    planner->ShowPlanner();
    planner->resize(1010, 640);  // its size on a screen with room beside the main window
    planner->SideBox()->setCurrentIndex(planner->SideBox()->findText("Attacker"));
    planner->RowBox()->setCurrentIndex(planner->RowBox()->findText("AstroPod"));
    planner->FromEdit()->setText("0");
    planner->ToEdit()->setText("4000");
    planner->PointsBox()->setValue(81);
    planner->TicksBox()->setValue(3);
    planner->ModeBox()->setCurrentIndex(0);  // the whole battle
    planner->RunSweep();
    // The findings are stated once every value of the range is tried.
    while (planner->Running() || planner->FindingsRunning()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    planner->ChoosePoint(40);
    bool ok = Save(planner, folder, "battle_planner.png");
    kestrin::BestFleetPage* page = planner->FleetPage();
    planner->Pages()->setCurrentWidget(page);
    // Two rows varied, each up to twice what the grid holds.
    QTableWidget* rows = page->RowTable();
    for (int i = 0; i < rows->rowCount(); ++i) {
        const QString caption = rows->item(i, 0)->text();
        if (caption != "Spider" && caption != "Beetle") continue;
        rows->item(i, 0)->setCheckState(Qt::Checked);
        rows->item(i, 2)->setText(QString::number(2 * rows->item(i, 1)->text().toInt()));
    }
    page->FindFleet();
    while (page->Running()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return Save(planner, folder, "best_fleet.png") && ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont("Arial", 8));
    if (argc < 3) {
        std::cerr << "usage: kestrin-screenshots OUTPUT_FOLDER BATTLE.kbf\n";
        return 2;
    }
    QStandardPaths::setTestModeEnabled(true);  // recent files stay out of the user's settings
    QTemporaryDir programFolder;               // fresh statistics and colours
    const QString out = QString::fromLocal8Bit(argv[1]);
    kestrin::TForm1 window({programFolder.path().toStdString(), nullptr});
    window.show();
    if (!window.OpenBattleFile(argv[2])) return 1;
    window.CompressGrid();
    bool ok = Save(&window, out, "screenshot.png");
    window.LogWindow()->ShowLog();
    ok = Save(window.LogWindow(), out, "calculation_log.png") && ok;
    window.ParserDialog()->ShowParser();
    ok = Save(window.ParserDialog(), out, "scan_parser.png") && ok;
    window.ShipDetails()->ShowFor(53, kestrin::Side::Defender);
    ok = Save(window.ShipDetails(), out, "ship_details.png") && ok;
    ok = Save(window.UnitTables(), out, "unit_tables.png") && ok;
    ok = Save(window.SetupForm(), out, "setup.png") && ok;
    window.ShowDebug();
    ok = Save(window.DebugForm(), out, "debug.png") && ok;
    ok = SavePlanner(window.PlannerForm(), out) && ok;
    window.DebugForm()->Pages()->setCurrentIndex(3);  // "Targeting"
    ok = Save(window.DebugForm(), out, "debug_targeting.png") && ok;
    return ok ? 0 : 1;
}
