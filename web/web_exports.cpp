// The WebAssembly module's functions, called from the page's scripts. Each takes and returns
// UTF-8 text; a returned text lives until the next call (the page copies it at once).
#include <emscripten/emscripten.h>

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "page_fleet_share.h"
#include "planner/fleet_outcome_text.h"
#include "planner_replies.h"
#include "sheet/battle_link.h"
#include "shared_fleets.h"
#include "web_session.h"

namespace {

struct Module {
    kestrin::BattleRulesLoad rules = kestrin::MakeBattleRules(kestrin::DefaultShipCatalogue());
    kestrin::WebSession session{rules.rules};
    std::string reply;
};

// The page's one session, made on its first call: a module instance serves one page or worker.
Module& Instance() {
    static Module module;
    return module;
}

const char* Reply(std::string text) {
    Module& module = Instance();
    module.reply = std::move(text);
    return module.reply.c_str();
}

// Runs one session call; whatever it throws becomes the view's notice, never an abort.
template <typename Call>
const char* Guarded(Call call) {
    try {
        return Reply(kestrin::PageText(call(Instance().session)));
    } catch (const std::bad_alloc&) {
        return Reply(R"({"error":"Out of memory"})");
    } catch (const std::exception& error) {
        kestrin::PageJson failure;
        failure["error"] = error.what();
        return Reply(kestrin::PageText(failure));
    }
}

// Runs one planner call; whatever it throws becomes {"error": ...} in the player's words.
template <typename Call>
const char* PlannerReply(Call call) {
    try {
        return Reply(kestrin::PageText(call()));
    } catch (const std::bad_alloc&) {
        return Reply(R"({"error":"Out of memory"})");
    } catch (const std::exception& error) {
        return Reply(kestrin::PageText(kestrin::ErrorJson(error.what())));
    }
}

// Tells the worker how far Best Fleet has come (it posts it to the page) and answers whether
// the player has cancelled since (a word of the page's cancel block, when it gave one).
EM_JS(int, tell_fleet_progress, (const char* text, double done, double planned), {
    const tell = Module['fleetProgress'];
    return tell && tell(UTF8ToString(text), done, planned) ? 1 : 0;
});

std::string_view Bytes(const char* bytes, int length) { return {bytes, static_cast<std::size_t>(length)}; }

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* kestrin_view() {
    return Guarded([](auto& s) { return s.View(); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_type(int col, int row, const char* text) {
    return Guarded([&](auto& s) { return s.Type(col, row, text); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_spin(int col, int row, int delta) {
    return Guarded([&](auto& s) { return s.Spin(col, row, delta); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_delete(int fromCol, int fromRow, int toCol, int toRow) {
    return Guarded([&](auto& s) { return s.Delete(fromCol, fromRow, toCol, toRow); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_command(const char* name) {
    const std::string command = name;
    return Guarded([&](auto& s) {
        if (command == "forward") return s.StepForward();
        if (command == "back") return s.StepBack();
        if (command == "undo") return s.Undo();
        if (command == "redo") return s.Redo();
        if (command == "clear") return s.ClearAll();
        if (command == "clearDefender") return s.ClearDefender();
        if (command == "clearAttacker") return s.ClearAttacker();
        return s.View();
    });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_open(const char* bytes, int length) {
    return Guarded([&](auto& s) { return s.Open(std::string_view(bytes, static_cast<std::size_t>(length))); });
}
// A link's text (the page's address, a pasted line) opened as a battle of its own.
EMSCRIPTEN_KEEPALIVE const char* kestrin_open_link(const char* text) {
    return Guarded([&](auto& s) { return s.OpenLink(text); });
}
// Whether a text holds a battle link: a paste longer than any report may still be one, and
// the link's own bound then answers it.
EMSCRIPTEN_KEEPALIVE int kestrin_holds_link(const char* text) { return kestrin::HoldsBattleLink(text) ? 1 : 0; }
// A battle the page kept (kestrin_kept's text) brought back at its tick.
EMSCRIPTEN_KEEPALIVE const char* kestrin_open_kept(const char* text) {
    return Guarded([&](auto& s) { return s.OpenKept(text); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_new_battle() {
    return Guarded([](auto& s) { return s.NewBattle(); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_kept() { return Reply(Instance().session.Kept()); }
EMSCRIPTEN_KEEPALIVE const char* kestrin_link() { return Reply(Instance().session.Link()); }
EMSCRIPTEN_KEEPALIVE const char* kestrin_texts() { return Reply(kestrin::PageText(kestrin::PageTexts())); }
EMSCRIPTEN_KEEPALIVE const char* kestrin_style() { return Reply(kestrin::PageText(kestrin::GridStyle())); }
EMSCRIPTEN_KEEPALIVE const char* kestrin_save() { return Reply(Instance().session.Save()); }
// The length of the last reply, for replies that are bytes rather than text.
EMSCRIPTEN_KEEPALIVE int kestrin_reply_length() { return static_cast<int>(Instance().reply.size()); }
// {"side": "attacker", "counts": {"ROW": COUNT, ...}, "step": "Use This Value" | "Use This Fleet"}
EMSCRIPTEN_KEEPALIVE const char* kestrin_use_counts(const char* request) {
    return Guarded([&](auto& s) {
        const kestrin::PageJson use = kestrin::PageJson::parse(request);
        std::vector<std::pair<int, std::int64_t>> counts;
        for (const auto& [row, count] : use.at("counts").items()) counts.emplace_back(std::stoi(row), count.get<std::int64_t>());
        const kestrin::Side side = use.at("side") == "defender" ? kestrin::Side::Defender : kestrin::Side::Attacker;
        return s.UseCounts(side, counts, use.at("step") == "Use This Fleet" ? kestrin::Step::UseThisFleet
                                                                            : kestrin::Step::UseThisValue);
    });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_report(const char* kind, const char* side, int fleetBits,
                                                 const char* text) {
    const bool fleets[4] = {(fleetBits & 1) != 0, (fleetBits & 2) != 0, (fleetBits & 4) != 0,
                            (fleetBits & 8) != 0};
    return Guarded([&](auto& s) { return s.ApplyReport(kind, side, fleets, text); });
}
// The planner's form: figures, the rows a sweep may vary, Best Fleet's rows with the counts
// of the battle as it stands.
EMSCRIPTEN_KEEPALIVE const char* kestrin_planner_form() {
    return PlannerReply([] { return kestrin::PlannerFormJson(Instance().rules.rules, Instance().session.Save()); });
}
// Whether a sweep of side/row run on the battle `ranOn` (its saved bytes) still holds for the
// battle as it stands: 1 or 0.
EMSCRIPTEN_KEEPALIVE int kestrin_sweep_current(const char* ranOn, int length, const char* side, int row) {
    const kestrin::SweepInput input{std::string_view(side) == "defender" ? kestrin::Side::Defender
                                                                        : kestrin::Side::Attacker, row};
    return kestrin::SweepStillCurrent(Bytes(ranOn, length), Instance().session.Save(), input) ? 1 : 0;
}
// The same for a search over the attacker rows `rows` (a JSON array).
EMSCRIPTEN_KEEPALIVE int kestrin_fleet_current(const char* ranOn, int length, const char* rows) {
    try {
        const std::vector<int> varied = kestrin::PageJson::parse(rows).get<std::vector<int>>();
        return kestrin::FleetStillCurrent(Bytes(ranOn, length), Instance().session.Save(), varied) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}
// A worker's planner calls (see web/planner_replies.h): a request and the battle's bytes.
EMSCRIPTEN_KEEPALIVE const char* kestrin_sweep_chart(const char* request, const char* battle, int length) {
    return PlannerReply([&] { return kestrin::SweepChartReply(Instance().rules.rules, request, Bytes(battle, length)); });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_sweep_every_value(const char* request, const char* battle, int length) {
    return PlannerReply(
        [&] { return kestrin::SweepEveryValueReply(Instance().rules.rules, request, Bytes(battle, length)); });
}
// Best Fleet alone, or lending part of each batch to the worker that runs
// kestrin_best_fleet_helper on the same request; both have the same Module.fleetShare.
EMSCRIPTEN_KEEPALIVE const char* kestrin_best_fleet(const char* request, const char* battle, int length, int lending) {
    return PlannerReply([&] {
        kestrin::PageFleetShare share;
        std::optional<kestrin::SharedFleetHelper> helper;
        if (lending != 0) helper.emplace(share);
        const auto progress = [](std::int64_t done, std::int64_t planned) {
            const std::string text = kestrin::FleetProgressText(done, planned, kestrin::kPageLocale);
            return tell_fleet_progress(text.c_str(), static_cast<double>(done), static_cast<double>(planned)) != 0;
        };
        return kestrin::BestFleetReply(Instance().rules.rules, request, Bytes(battle, length),
                                       helper ? &*helper : nullptr, progress);
    });
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_best_fleet_helper(const char* request, const char* battle, int length) {
    return PlannerReply([&] {
        kestrin::PageFleetShare share;
        const kestrin::FleetPlan plan =
            kestrin::PlanFleetSearch(Instance().rules.rules, kestrin::ReadFleetAsk(request, Bytes(battle, length)));
        // A helper that cannot start says so in the block, so the search does not wait for it.
        if (!plan.error.empty()) {
            share.Set(kestrin::FleetShare::kFailed);
            return kestrin::ErrorJson(plan.error);
        }
        kestrin::ServeSharedFleets(Instance().rules.rules, plan.request, share);
        return kestrin::PageJson{{"served", true}};
    });
}

}  // extern "C"
