#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/simulation_context.h"
#include "sheet/battle_document.h"
#include "sheet/battle_sheet.h"
#include "sheet/sheet_view.h"
#include "page_json.h"

namespace kestrin {

/// The battle a web page edits: the desktop program's battle document (its sheet, undo
/// history, typed-count reading and notices, battle files and report readers), driven by one
/// call per player action. Every call returns the page's whole view as JSON (`View`), so the
/// page keeps no copy of the battle's rules. Single-threaded: one session per page.
class WebSession : DocumentView, HeldChange {
public:
    /// A new empty battle on `rules`, which must outlive the session.
    explicit WebSession(const BattleRules& rules);

    /// The view, all the page draws the grid and the panel with: tick, report view, the
    /// sheet's layout (sizes, caption columns, race lines, each side's input column and rows
    /// with their accessible names, the rows that take a count with their captions), cells as
    /// stored and as shown, each cell's background and text colour by appearance key, the
    /// results panel (the texts kestrin-cli prints, by key) and its figures in full, undo and
    /// redo names, and the notice of the last call with the input cell it is about.
    PageJson View() const;

    /// Ends an edit of an input cell with the typed text, as the grid does: a count goes in
    /// as one "Typing" step; text that is no count keeps its fate and is told.
    PageJson Type(int col, int row, std::string_view typed);
    /// A whole spin of input cell (col, row), press to release: `delta` added as one "Spin"
    /// step, the count stopping at the top of its range and never below empty.
    PageJson Spin(int col, int row, int delta);
    /// Empties the input cells of columns `fromCol..toCol`, rows `fromRow..toRow` as one step.
    PageJson Delete(int fromCol, int fromRow, int toCol, int toRow);
    /// The tick buttons.
    PageJson StepForward();
    PageJson StepBack();
    /// Undo and Redo of the last change.
    PageJson Undo();
    PageJson Redo();
    /// Clear All, Clear Defender, Clear Attacker.
    PageJson ClearAll();
    PageJson ClearDefender();
    PageJson ClearAttacker();
    /// Opens a battle file's bytes as "Open..." does; its messages become the notice. A changed
    /// battle is replaced without a question, as the page always has: Undo brings it back.
    PageJson Open(std::string_view bytes);
    /// Opens the battle a link carries (an address, its fragment, a pasted chat line) as a
    /// battle of its own: its set-up at tick 1, one step. A link that carries no battle
    /// (cut short, too long, no base64url, no battle file) changes nothing and is told. The
    /// view of each opening says whether it "opened".
    PageJson OpenLink(std::string_view text);
    /// Brings back a battle the page kept (`Kept`), at its tick with its earlier ticks, as
    /// one step; one that cannot be read changes nothing and is told.
    PageJson OpenKept(std::string_view kept);
    /// An empty battle of its own at tick 1, as one step.
    PageJson NewBattle();
    /// The battle as the page keeps it in the browser (web/kept_battle.h).
    std::string Kept() const;
    /// The link fragment ("#battle=...") of the battle as it stands.
    std::string Link() const;
    /// "Use this value" or "Use this fleet": writes whole counts into a side's input rows as
    /// one step, then recalculates.
    PageJson UseCounts(Side side, const std::vector<std::pair<int, std::int64_t>>& counts, Step step);
    /// The battle as the page edits it, for reading.
    const BattleDocument& Document() const { return document_; }
    /// The battle file's bytes of the sheet as it stands (CR LF lines, as saved).
    std::string Save() const;
    /// The scan parser's "OK": `kind` is "scan", "military" or "combat"; `side` "defender"
    /// or "attacker"; `fleets` the military scan's ticked fleets (home, 1, 2, 3).
    PageJson ApplyReport(std::string_view kind, std::string_view side, const bool (&fleets)[4],
                     std::string_view text);

private:
    void BattleChanged() override {}
    void HoldEnded() override {}
    void Notice(const DocumentNotice& notice) override;
    PageJson Changed();
    /// The view after an opening, with "opened": whether the battle was replaced.
    PageJson Opened(const BattleFileResult& result);

    SimulationContext context_;
    BattleDocument document_;
    const BattleSheet& sheet_ = document_.Sheet();
    std::string notice_;
    /// The input cell the last call's notice is about, if any.
    const SideLayout* noticeSide_ = nullptr;
    int noticeRow_ = -1;
};

/// The texts the page shows of its own: the names it gives battles it keeps and what it says
/// when the browser keeps none.
PageJson PageTexts();

/// The built-in appearance colours by key ("#rrggbb"), which the view's style keys name.
PageJson GridStyle();

}  // namespace kestrin
