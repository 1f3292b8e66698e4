// The WebAssembly module's functions, called from the page's scripts. Each takes and returns
// UTF-8 text; a returned text lives until the next call (the page copies it at once).
#include <emscripten/emscripten.h>

#include <memory>
#include <new>
#include <string>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
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
        return Reply(kestrin::DumpJson(call(Instance().session)));
    } catch (const std::bad_alloc&) {
        return Reply(R"({"error":"Out of memory"})");
    } catch (const std::exception& error) {
        kestrin::Json failure;
        failure["error"] = error.what();
        return Reply(kestrin::DumpJson(failure));
    }
}

// One kestrin-cli command: `arguments` a JSON array of words, the battle's bytes written to
// /battle.kbf first (the arguments name it).
const char* RunCliWith(const char* arguments, const char* battle, int length, const kestrin::CliHooks& hooks) {
    try {
        return Reply(kestrin::DumpJson(kestrin::RunCliCommand(
            kestrin::Json::parse(arguments), std::string_view(battle, static_cast<std::size_t>(length)),
            "/battle.kbf", hooks)));
    } catch (const std::exception& error) {
        kestrin::Json failure;
        failure["status"] = 1;
        failure["out"] = "";
        failure["err"] = error.what();
        return Reply(kestrin::DumpJson(failure));
    }
}

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
EMSCRIPTEN_KEEPALIVE const char* kestrin_style() { return Reply(kestrin::DumpJson(kestrin::GridStyle())); }
EMSCRIPTEN_KEEPALIVE const char* kestrin_save() { return Reply(Instance().session.Save()); }
// The length of the last reply, for replies that are bytes rather than text.
EMSCRIPTEN_KEEPALIVE int kestrin_reply_length() { return static_cast<int>(Instance().reply.size()); }
// {"side": "attacker", "counts": {"ROW": COUNT, ...}, "step": "Use This Value" | "Use This Fleet"}
EMSCRIPTEN_KEEPALIVE const char* kestrin_use_counts(const char* request) {
    return Guarded([&](auto& s) {
        const kestrin::Json use = kestrin::Json::parse(request);
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
// One kestrin-cli command (see RunCliWith).
EMSCRIPTEN_KEEPALIVE const char* kestrin_cli(const char* arguments, const char* battle, int length) {
    return RunCliWith(arguments, battle, length, {});
}
// `optimise` lending part of each batch to the worker running kestrin_cli_helper on the same
// arguments; both have the same Module.fleetShare.
EMSCRIPTEN_KEEPALIVE const char* kestrin_cli_lending(const char* arguments, const char* battle, int length) {
    kestrin::SharedFleetHelper helper;
    return RunCliWith(arguments, battle, length, {.optimise = {.helper = &helper}});
}
EMSCRIPTEN_KEEPALIVE const char* kestrin_cli_helper(const char* arguments, const char* battle, int length) {
    const auto serve = [](const kestrin::BattleRules& rules, const kestrin::FleetSearchRequest& request) {
        kestrin::ServeSharedFleets(rules, request);
    };
    return RunCliWith(arguments, battle, length, {.optimise = {.serve = serve}});
}

}  // extern "C"
