// One script of player actions through both faces: the desktop's battle document, called as
// its windows call it, and the page's session. After every step the saved file, the results
// panel and the undo names are the same: a command's change is written once.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "parser/apply_reports.h"
#include "sheet/battle_document.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "sheet/sheet_layout.h"
#include "web/web_session.h"

namespace kestrin {
namespace {

using namespace sheet;

const BattleRules& Rules() {
    static const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    return load.rules;
}

constexpr int kHarpy = UnitRow(0), kPhoenix = UnitRow(1), kSpider = UnitRow(12);

/// The main window's answer to "Save changes?" when the player chooses Discard.
struct Discarding : ReplaceQuestion {
    std::vector<std::string> asked;
    bool MaySetAside(const std::string& question) override {
        asked.push_back(question);
        return true;
    }
};

/// The grid's side of a spin: it only stops when another command ends it.
struct SpinningGrid : HeldChange {
    void HoldEnded() override {}
};

/// The desktop: the document its windows share, with the main window's question.
struct Desktop {
    SimulationContext context;
    BattleDocument document{Rules(), context, NumberLocale{}};
    Discarding question;
    SpinningGrid grid;
    Desktop() {
        document.SetReplaceQuestion(&question);
        document.Recalculate();
    }
    /// A spin held over several beats of the grid's timer, then released.
    void Spin(int col, int row, std::initializer_list<int> beats) {
        document.BeginSpin(col, row, grid);
        for (int beat : beats) document.Spin(beat);
        document.EndHold();
    }
};

/// A link to a battle of its own, as a chat line carries it.
std::string SharedLink() {
    SimulationContext context;
    BattleDocument shared{Rules(), context};
    shared.EndEdit(kDefShips, kSpider, "1,200");
    shared.EndEdit(kAttShips, kHarpy, "300");
    return "look: https://example.org/#" + BattleLinkFragment(BattleFileBytes(shared.Sheet().Cells())) + " ok?";
}

struct ScriptStep {
    const char* name;
    std::function<void(Desktop&)> desktop;
    std::function<void(WebSession&)> page;
};

const bool kNoFleets[4] = {};
const bool kHomeAndFleet2[4] = {true, false, true, false};

std::vector<ScriptStep> Script() {
    const auto scan = [](ReportKind kind, Side side, FleetChoice fleets = {}) {
        ReportChoice choice;
        choice.kind = kind;
        choice.scanSide = choice.militarySide = side;
        choice.fleets = fleets;
        return choice;
    };
    const std::string military = "Military Scan\nHarpy 10 20 30 40\nPhoenix 1,000 0 5 0\n";
    const std::string combat = "Combat Report\nHarpy 20 1 0 10 2 0\nPhoenix 0 0 0 40 4 0\n";
    const std::string link = SharedLink();
    return {
        {"typed 9,000", [](Desktop& d) { d.document.EndEdit(kDefShips, kHarpy, "9,000"); },
         [](WebSession& w) { w.Type(kDefShips, kHarpy, "9,000"); }},
        {"typed 400", [](Desktop& d) { d.document.EndEdit(kAttShips, kPhoenix, "400"); },
         [](WebSession& w) { w.Type(kAttShips, kPhoenix, "400"); }},
        {"typed 0", [](Desktop& d) { d.document.EndEdit(kAttShips, kHarpy, "0"); },
         [](WebSession& w) { w.Type(kAttShips, kHarpy, "0"); }},
        {"typed asteroids 125k", [](Desktop& d) { d.document.EndEdit(kDefShips, kFirstRoidRow + 1, "125k"); },
         [](WebSession& w) { w.Type(kDefShips, kFirstRoidRow + 1, "125k"); }},
        {"spin up", [](Desktop& d) { d.Spin(kAttShips, kHarpy, {1, 0, 0, 1, 10}); },
         [](WebSession& w) { w.Spin(kAttShips, kHarpy, 12); }},
        {"spin down past empty", [](Desktop& d) { d.Spin(kAttShips, kHarpy, {-1, -10, -30}); },
         [](WebSession& w) { w.Spin(kAttShips, kHarpy, -41); }},
        {"tick", [](Desktop& d) { d.document.StepForward(); }, [](WebSession& w) { w.StepForward(); }},
        {"tick", [](Desktop& d) { d.document.StepForward(); }, [](WebSession& w) { w.StepForward(); }},
        {"tick back", [](Desktop& d) { d.document.StepBack(); }, [](WebSession& w) { w.StepBack(); }},
        {"use a value of 0", [](Desktop& d) { d.document.UseValue(Side::Attacker, kPhoenix, 0); },
         [](WebSession& w) { w.UseCounts(Side::Attacker, {{kPhoenix, 0}}, Step::UseThisValue); }},
        {"use a value", [](Desktop& d) { d.document.UseValue(Side::Attacker, kPhoenix, 650); },
         [](WebSession& w) { w.UseCounts(Side::Attacker, {{kPhoenix, 650}}, Step::UseThisValue); }},
        {"use a fleet with a zero", [](Desktop& d) { d.document.UseFleet({{kHarpy, 0}, {kPhoenix, 1500}, {kSpider, 30}}); },
         [](WebSession& w) { w.UseCounts(Side::Attacker, {{kHarpy, 0}, {kPhoenix, 1500}, {kSpider, 30}}, Step::UseThisFleet); }},
        {"a scan", [=](Desktop& d) { ScanParserOk(d.document, "Harpy 100\nScore 5000\n", scan(ReportKind::Scan, Side::Defender)); },
         [](WebSession& w) { w.ApplyReport("scan", "defender", kNoFleets, "Harpy 100\nScore 5000\n"); }},
        {"a military scan", [=](Desktop& d) { ScanParserOk(d.document, military, scan(ReportKind::Military, Side::Attacker, {true, false, true, false})); },
         [=](WebSession& w) { w.ApplyReport("military", "attacker", kHomeAndFleet2, military); }},
        {"undo", [](Desktop& d) { d.document.Undo(); }, [](WebSession& w) { w.Undo(); }},
        {"undo", [](Desktop& d) { d.document.Undo(); }, [](WebSession& w) { w.Undo(); }},
        {"redo", [](Desktop& d) { d.document.Redo(); }, [](WebSession& w) { w.Redo(); }},
        {"a combat report", [=](Desktop& d) { ScanParserOk(d.document, combat, scan(ReportKind::Combat, Side::Defender)); },
         [=](WebSession& w) { w.ApplyReport("combat", "defender", kNoFleets, combat); }},
        {"tick from the report", [](Desktop& d) { d.document.StepForward(); }, [](WebSession& w) { w.StepForward(); }},
        {"a link in the scan parser", [=](Desktop& d) { ScanParserOk(d.document, link, std::nullopt); },
         [=](WebSession& w) { w.OpenLink(link); }},
        {"delete", [](Desktop& d) { d.document.Delete(CellRange::Spanning(kDefShips, kHarpy, kDefLeft, kSpider)); },
         [](WebSession& w) { w.Delete(kDefShips, kHarpy, kDefLeft, kSpider); }},
        {"undo", [](Desktop& d) { d.document.Undo(); }, [](WebSession& w) { w.Undo(); }},
        {"clear attacker", [](Desktop& d) { d.document.ClearAttacker(); }, [](WebSession& w) { w.ClearAttacker(); }},
        {"clear all", [](Desktop& d) { d.document.ClearAll(); }, [](WebSession& w) { w.ClearAll(); }},
        {"undo", [](Desktop& d) { d.document.Undo(); }, [](WebSession& w) { w.Undo(); }},
        {"clear defender", [](Desktop& d) { d.document.ClearDefender(); }, [](WebSession& w) { w.ClearDefender(); }},
        {"redo after a change", [](Desktop& d) { d.document.Redo(); }, [](WebSession& w) { w.Redo(); }},
    };
}

std::string NameOf(const char* name) { return name != nullptr ? name : "(none)"; }

TEST(CommandsAgree, OneScriptThroughTheDesktopAndThePageSavesTheSameBytesAndShowsTheSamePanel) {
    Desktop desktop;
    WebSession page(Rules());
    for (const ScriptStep& step : Script()) {
        SCOPED_TRACE(step.name);
        step.desktop(desktop);
        step.page(page);
        const BattleSheet& shown = desktop.document.Sheet();
        ASSERT_EQ(BattleFileBytes(shown.Cells()), page.Save());
        ASSERT_TRUE(shown.Results() == page.Document().Sheet().Results());
        ASSERT_EQ(shown.CurrentTick(), page.Document().Sheet().CurrentTick());
        ASSERT_EQ(NameOf(desktop.document.UndoName()), NameOf(page.Document().UndoName()));
        ASSERT_EQ(NameOf(desktop.document.RedoName()), NameOf(page.Document().RedoName()));
    }
    // The desktop asked before the link replaced the changed battle; the page, as it always
    // has, replaced it at once (Undo brings it back).
    EXPECT_EQ(desktop.question.asked, std::vector<std::string>{"Save changes to the new battle?"});
}

}  // namespace
}  // namespace kestrin
