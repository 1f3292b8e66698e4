// Development tool: builds raids of three varied rows (0.3 to 2 million fleets), stores the
// outcome of every fleet, and measures how often the search finds the optimum.
//   fleet_search_lab make DIR FIRST COUNT   build cases FIRST.. and their tables
//   fleet_search_lab run DIR SEEDS [BUDGET]  search every case and aim with SEEDS seeds
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>

#include "../full_battle.h"
#include "planner/fleet_evaluator.h"
#include "planner/fleet_ledger.h"
#include "planner/fleet_search.h"
#include "planner/fleet_space.h"
#include "planner/fleet_space_search.h"
#include "sheet/result_rows.h"

using namespace kestrin;

namespace {

struct Case {
    FleetSearchRequest request;
    std::vector<std::int32_t> most;
    std::vector<FleetOutcome> outcomes;  // by index
    Fleet grid;
};

// Asteroids per kind, in units of the attack's scale: three families of raids (few asteroids
// make wide plateaus of fleets that capture all there is).
double RoidScale(std::uint64_t seed) {
    if (seed >= 44) return seed % 3 == 0 ? 8 : seed % 3 == 1 ? 2 : 1;
    return seed >= 32 ? 1 : seed >= 16 ? 2 : 8;
}

// Small raids (spaces just above the whole-space limit) when set; the cells set are printed.
bool gSmall = false;

FleetSearchRequest MakeRequest(std::uint64_t seed, std::uint64_t attempt) {
    std::mt19937_64 rng(seed * 7919 + 13 + attempt * 1000003);
    auto uni = [&](std::int64_t lo, std::int64_t hi) { return lo + static_cast<std::int64_t>(rng() % (hi - lo + 1)); };
    SimulationContext context;
    BattleSheet real(bench::Rules(), context);
    struct Logged {
        BattleSheet& sheet;
        std::string log;
        void SetCell(int col, int row, const std::string& v) {
            sheet.SetCell(col, row, v);
            log += "{" + std::to_string(col) + "," + std::to_string(row) + "," + v + "},";
        }
        auto Cells() const { return sheet.Cells(); }
    } sheet{real, {}};
    const int capture[] = {48, 48, 48, 7, 21, 28};
    const int pods = capture[uni(0, 5)];
    std::vector<int> types;
    for (int t = 0; t < 54; ++t)
        if (t != 7 && t != 21 && t != 28 && t != 48) types.push_back(t);
    // attacker scale
    const double size = gSmall ? 125000 : 300000 + static_cast<double>(uni(0, 1700000));
    double f1 = (RoidScale(seed) == 1 ? 2.0 : 1.0) * std::exp((static_cast<double>(uni(0, 1000)) / 1000 - 0.5) * 1.6);
    double f2 = std::exp((static_cast<double>(uni(0, 1000)) / 1000 - 0.5) * 1.6);
    double f3 = 1 / (f1 * f2);
    const double side = std::cbrt(size);
    std::vector<int> rows{pods};
    while (rows.size() < 3) {
        int t = types[uni(0, static_cast<std::int64_t>(types.size()) - 6)];  // no PDS in the attack
        if (std::ranges::find(rows, t) == rows.end()) rows.push_back(t);
    }
    const double fs[] = {f1, f2, f3};
    const double scale = static_cast<double>(uni(1, 20));  // ships per step of a row
    FleetSearchRequest request;
    for (int i = 0; i < 3; ++i) {
        const auto most = static_cast<std::int32_t>(std::max(2.0, side * fs[i]) - 1);
        request.rows.push_back({sheet::UnitRow(rows[static_cast<std::size_t>(i)]), most});
        sheet.SetCell(sheet::kAttShips, sheet::UnitRow(rows[static_cast<std::size_t>(i)]), std::to_string(uni(0, most)));
    }
    (void)scale;
    // The defence: a few types at counts of the attack's scale.
    const int defTypes = static_cast<int>(uni(2, 6));
    for (int i = 0; i < defTypes; ++i) {
        const int t = static_cast<int>(uni(0, 53));
        sheet.SetCell(sheet::kDefShips, sheet::UnitRow(t), std::to_string(uni(1, static_cast<std::int64_t>(side))));
    }
    if (uni(0, 2) == 0) sheet.SetCell(sheet::kAttShips, sheet::UnitRow(static_cast<int>(uni(0, 47))), std::to_string(uni(1, 100)));
    for (int k = 0; k < 4; ++k) sheet.SetCell(sheet::kDefShips, sheet::kFirstRoidRow + k, std::to_string(uni(0, static_cast<std::int64_t>(side * RoidScale(seed)))));
    if (uni(0, 3) != 0) sheet.SetCell(sheet::kDefShips, sheet::kScoreRow, std::to_string(uni(100000, 20000000)));
    request.battle = SheetInputs(sheet.Cells());
    request.ticks = 3;
    if (gSmall) std::printf("cells %s\n", sheet.log.c_str());
    return request;
}

std::string PathOf(const std::string& dir, int n) { return dir + "/case" + std::to_string(n) + ".bin"; }

void Make(const std::string& dir, int n) {
    Case c;
    // A raid worth searching: a sample of fleets captures asteroids, and not all alike.
    for (std::uint64_t attempt = 0;; ++attempt) {
        c.request = MakeRequest(static_cast<std::uint64_t>(n), attempt);
        FleetEvaluator sampler(bench::Rules(), c.request, 2);
        std::mt19937_64 rng(attempt);
        std::vector<Fleet> sample;
        for (int i = 0; i < 300; ++i) {
            Fleet f;
            for (const VariedRow& v : c.request.rows) f.push_back(static_cast<std::int32_t>(rng() % (v.most + 1)));
            sample.push_back(f);
        }
        std::set<std::int64_t> distinct;
        int capturing = 0;
        for (const auto& o : sampler.Outcomes(sample, nullptr)) {
            distinct.insert(o->roids);
            capturing += o->roids > 0;
        }
        if (capturing >= 60 && distinct.size() >= 4 && (!gSmall || FleetSpaceSize(c.request.rows) > kExhaustiveFleets)) break;
    }
    for (const VariedRow& v : c.request.rows) c.most.push_back(v.most);
    const FleetSpace space(c.most);
    FleetEvaluator evaluator(bench::Rules(), c.request, 2);
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<Fleet> batch;
    c.outcomes.reserve(static_cast<std::size_t>(space.Size()));
    for (std::int64_t first = 0; first < space.Size(); first += 8192) {
        batch.clear();
        for (std::int64_t i = first; i < std::min(space.Size(), first + 8192); ++i) {
            Fleet f(3);
            space.FleetAt(i, f);
            batch.push_back(f);
        }
        for (const auto& o : evaluator.Outcomes(batch, nullptr)) c.outcomes.push_back(*o);
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    c.grid = GridFleet(c.request);
    std::ofstream out(PathOf(dir, n), std::ios::binary);
    for (int i = 0; i < 3; ++i) out.write(reinterpret_cast<const char*>(&c.most[static_cast<std::size_t>(i)]), 4);
    for (int i = 0; i < 3; ++i) out.write(reinterpret_cast<const char*>(&c.grid[static_cast<std::size_t>(i)]), 4);
    out.write(reinterpret_cast<const char*>(c.outcomes.data()), static_cast<std::streamsize>(c.outcomes.size() * sizeof(FleetOutcome)));
    std::printf("case %d: rows %d %d %d most %d %d %d size %lld  %.1f s (%.2f us/fleet)\n", n, c.request.rows[0].row - 1,
                c.request.rows[1].row - 1, c.request.rows[2].row - 1, c.most[0], c.most[1], c.most[2],
                static_cast<long long>(space.Size()), secs, secs * 1e6 / static_cast<double>(space.Size()));
}

bool Load(const std::string& dir, int n, Case& c) {
    std::ifstream in(PathOf(dir, n), std::ios::binary);
    if (!in) return false;
    c.most.resize(3);
    c.grid.resize(3);
    for (auto& m : c.most) in.read(reinterpret_cast<char*>(&m), 4);
    for (auto& g : c.grid) in.read(reinterpret_cast<char*>(&g), 4);
    const FleetSpace space(c.most);
    c.outcomes.resize(static_cast<std::size_t>(space.Size()));
    in.read(reinterpret_cast<char*>(c.outcomes.data()), static_cast<std::streamsize>(c.outcomes.size() * sizeof(FleetOutcome)));
    return true;
}

std::int64_t IndexOf(const std::vector<std::int32_t>& most, std::span<const std::int32_t> f) {
    std::int64_t index = 0;
    for (std::size_t i = 0; i < most.size(); ++i) index = index * (most[i] + 1) + f[i];
    return index;
}

// The aims a case is searched for: each goal, and limits few fleets reach.
std::vector<std::pair<std::string, FleetAim>> Aims(const Case& c) {
    std::vector<std::int64_t> roids, losses;
    for (const auto& o : c.outcomes) {
        roids.push_back(o.roids);
        losses.push_back(o.loss);
    }
    std::ranges::sort(roids);
    std::ranges::sort(losses);
    const std::int64_t rareRoids = roids[roids.size() * 995 / 1000];
    const std::int64_t fewLoss = losses[losses.size() / 100];
    std::vector<std::pair<std::string, FleetAim>> aims;
    aims.push_back({"roids", {FleetGoal::Roids, 1, std::nullopt}});
    aims.push_back({"lpr", {FleetGoal::LossPerRoid, 1, std::nullopt}});
    aims.push_back({"small", {FleetGoal::SmallestFleet, 1, std::nullopt}});
    aims.push_back({"lpr-min" + std::to_string(rareRoids), {FleetGoal::LossPerRoid, rareRoids, std::nullopt}});
    aims.push_back({"roids-maxloss" + std::to_string(fewLoss), {FleetGoal::Roids, 1, fewLoss}});
    aims.push_back({"small-maxloss" + std::to_string(fewLoss), {FleetGoal::SmallestFleet, 1, fewLoss}});
    return aims;
}

void Run(const std::string& dir, int seeds, std::int64_t budget, bool verbose) {
    int runs = 0, found = 0;
    for (int n = 0; n < 1000; ++n) {
        Case c;
        if (!Load(dir, n, c)) continue;
        const FleetSpace space(c.most);
        for (const auto& [name, aim] : Aims(c)) {
            std::size_t best = 0;
            std::int64_t ties = 0;
            for (std::size_t i = 1; i < c.outcomes.size(); ++i)
                if (BetterOutcome(aim, c.outcomes[i], c.outcomes[best])) best = i;
            for (const auto& o : c.outcomes) ties += !BetterOutcome(aim, c.outcomes[best], o);
            if (name == "roids") {
                std::int64_t top = 0, below = 0;
                for (const auto& o : c.outcomes) {
                    top += o.roids == c.outcomes[best].roids;
                    below += o.roids == c.outcomes[best].roids - 1;
                }
                std::printf("case %2d: %lld fleets capture the most (%lld), %lld one less\n", n, (long long)top,
                            (long long)c.outcomes[best].roids, (long long)below);
            }
            int ok = 0;
            std::int64_t evals = 0;
            for (int s = 1; s <= seeds; ++s) {
                const auto source = [&](std::span<const std::int32_t> flat, std::span<std::optional<FleetOutcome>> out,
                                        const std::atomic<bool>*) {
                    for (std::size_t f = 0; f < out.size(); ++f) out[f] = c.outcomes[static_cast<std::size_t>(IndexOf(c.most, flat.subspan(f * 3, 3)))];
                };
                FleetLedger ledger(3, aim, source, {}, budget);
                SearchFleetSpace(ledger, space, c.grid, static_cast<std::uint64_t>(s));
                evals += ledger.Evaluations();
                const bool hit = !BetterOutcome(aim, c.outcomes[best], ledger.BestOutcome());
                ok += hit;
                if (verbose && !hit)
                    std::printf("   miss case %d %s seed %d: got (%d,%d,%d) roids %lld loss %lld sent %lld\n", n, name.c_str(), s,
                                ledger.Best()[0], ledger.Best()[1], ledger.Best()[2],
                                (long long)ledger.BestOutcome().roids, (long long)ledger.BestOutcome().loss,
                                (long long)ledger.BestOutcome().sentValue);
            }
            runs += seeds;
            found += ok;
            const auto& o = c.outcomes[best];
            Fleet bf(3);
            space.FleetAt(static_cast<std::int64_t>(best), bf);
            std::printf("case %2d %-22s best (%d,%d,%d)/(%d,%d,%d) roids %lld loss %lld sent %lld ties %lld  found %d/%d evals %lld\n", n,
                        name.c_str(), bf[0], bf[1], bf[2], c.most[0], c.most[1], c.most[2], (long long)o.roids, (long long)o.loss,
                        (long long)o.sentValue, (long long)ties, ok, seeds, (long long)(evals / seeds));
        }
    }
    std::printf("found the optimum in %d of %d runs\n", found, runs);
}

}  // namespace

int main(int argc, char** argv) {
    gSmall = argc >= 5 && std::strcmp(argv[1], "make-small") == 0;
    if (argc >= 5 && (std::strcmp(argv[1], "make") == 0 || gSmall)) {
        for (int n = std::atoi(argv[3]); n < std::atoi(argv[3]) + std::atoi(argv[4]); ++n) Make(argv[2], n);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "run") == 0) {
        Run(argv[2], std::atoi(argv[3]), argc >= 5 ? std::atoll(argv[4]) : 10000, argc >= 6);
        return 0;
    }
    if (argc >= 7 && std::strcmp(argv[1], "at") == 0) {
        Case c;
        Load(argv[2], std::atoi(argv[3]), c);
        const int a = std::atoi(argv[4]), b = std::atoi(argv[5]), d = std::atoi(argv[6]);
        for (int da = -3; da <= 3; ++da) {
            for (int dd = -10; dd <= 10; ++dd) {
                const std::vector<std::int32_t> f{a + da, b, d + dd};
                if (f[0] < 0 || f[0] > c.most[0] || f[2] < 0 || f[2] > c.most[2]) { std::printf("%14s", "-"); continue; }
                const auto& o = c.outcomes[static_cast<std::size_t>(IndexOf(c.most, f))];
                std::printf(" %4lld/%-8lld", (long long)o.roids, (long long)o.loss);
            }
            std::printf("\n");
        }
        return 0;
    }
    std::fprintf(stderr, "usage: fleet_search_lab make DIR FIRST COUNT | run DIR SEEDS [BUDGET [v]]\n");
    return 2;
}
