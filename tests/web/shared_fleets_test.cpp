// The protocol by which two page workers share Best Fleet's batches, run on two threads over
// a block of ordinary memory: the answer is the lone search's, and no failure of either side
// leaves the other waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <future>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "engine/temp_folder.h"
#include "sheet/battle_file.h"
#include "web/shared_fleets.h"

namespace kestrin {
namespace {

const BattleRules& Rules() {
    static const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    return load.rules;
}

// The shared block in this process's memory, its words atomics as the page's are.
class MemoryFleetShare : public FleetShare {
public:
    explicit MemoryFleetShare(std::size_t bytes) : bytes_(bytes) {}
    std::size_t Bytes() const override { return bytes_.size(); }
    std::int32_t State() const override { return state_.load(); }
    bool Move(std::int32_t from, std::int32_t to) override {
        const bool moved = state_.compare_exchange_strong(from, to);
        if (moved) state_.notify_all();
        return moved;
    }
    void Set(std::int32_t to) override {
        state_.store(to);
        state_.notify_all();
    }
    void WaitWhile(std::int32_t now) const override { state_.wait(now); }
    std::int32_t Count() const override { return count_.load(); }
    void SetCount(std::int32_t count) override { count_.store(count); }
    void Write(std::size_t offset, const void* bytes, std::size_t size) override {
        std::memcpy(bytes_.data() + offset, bytes, size);
    }
    void Read(std::size_t offset, void* bytes, std::size_t size) const override {
        std::memcpy(bytes, bytes_.data() + offset, size);
    }

private:
    std::vector<std::byte> bytes_;
    std::atomic<std::int32_t> state_{kIdle};
    std::atomic<std::int32_t> count_{0};
};

// The example raid with its pods and Harpies varied (rows 49 and 1).
FleetSearchRequest Raid(std::int32_t pods, std::int32_t harpies, FleetGoal goal) {
    const BattleFileInputs inputs = ReadBattleBytesInputs(testing::ReadBytes(KESTRIN_EXAMPLES_DIR "/raid.kbf"));
    FleetSearchRequest request;
    request.battle = inputs.battle;
    request.rows = {{49, pods}, {1, harpies}};
    request.ticks = 2;
    request.aim.goal = goal;
    return request;
}

// Room for `fleets` lent fleets of two rows.
std::size_t BlockFor(std::size_t fleets) { return 16 + fleets * (2 * 4 + sizeof(FleetOutcome)); }

// A space walked whole and one searched by climbs: the lent half of each batch comes back
// as the searcher would have found it, and the helper ends when the search does.
TEST(SharedFleets, TwoWorkersFindWhatOneFinds) {
    for (const auto& [pods, harpies, goal] : {std::tuple{150, 200, FleetGoal::LossPerRoid}, {900, 600, FleetGoal::Roids}}) {
        const FleetSearchRequest request = Raid(pods, harpies, goal);
        const FleetSearchResult alone = FindBestFleet(Rules(), request, {.workers = 1});
        MemoryFleetShare share(BlockFor(1024));
        auto helper = std::async(std::launch::async, [&] { ServeSharedFleets(Rules(), request, share); });
        std::optional<FleetSearchResult> shared;
        {
            SharedFleetHelper lending(share);
            shared = FindBestFleet(Rules(), request, {.workers = 1, .helper = &lending});
        }
        helper.get();
        EXPECT_EQ(shared->best.counts, alone.best.counts);
        EXPECT_EQ(shared->best.summed, alone.best.summed);
        EXPECT_EQ(shared->evaluations, alone.evaluations);
        EXPECT_EQ(share.State(), FleetShare::kEnd);
    }
}

// The helper failed before the first batch (the page marks the block so when the helper's
// call fails): the next lend must not overwrite that and wait for ever, it ends the search.
TEST(SharedFleets, AHelperThatFailedFirstEndsTheSearch) {
    MemoryFleetShare share(BlockFor(64));
    share.Set(FleetShare::kFailed);
    SharedFleetHelper lending(share);
    try {
        FindBestFleet(Rules(), Raid(150, 200, FleetGoal::Roids), {.workers = 1, .helper = &lending});
        FAIL() << "the search went on without its helper";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), kHelperStopped);
    }
}

// A helper that fails on a lent batch wakes the waiting search, which ends with its word.
TEST(SharedFleets, AHelperFailingOnABatchEndsTheSearch) {
    MemoryFleetShare share(BlockFor(64));
    auto failing = std::async(std::launch::async, [&] {
        share.WaitWhile(FleetShare::kIdle);
        share.Set(FleetShare::kFailed);
    });
    SharedFleetHelper lending(share);
    EXPECT_THROW(FindBestFleet(Rules(), Raid(150, 200, FleetGoal::Roids), {.workers = 1, .helper = &lending}),
                 std::runtime_error);
    failing.get();
}

// A helper that fails on its work (here: out of memory taking the lent fleets) says Failed in
// the block before it throws, and a search that ends, whatever the reason, tells a waiting
// helper to stop.
TEST(SharedFleets, EachSideTellsTheOtherItStopped) {
    struct RefusingShare final : MemoryFleetShare {
        using MemoryFleetShare::MemoryFleetShare;
        void Read(std::size_t, void*, std::size_t) const override { throw std::bad_alloc(); }
    } refusing(BlockFor(64));
    refusing.SetCount(1);
    refusing.Set(FleetShare::kLent);
    EXPECT_THROW(ServeSharedFleets(Rules(), Raid(1, 1, FleetGoal::Roids), refusing), std::bad_alloc);
    EXPECT_EQ(refusing.State(), FleetShare::kFailed);

    MemoryFleetShare idle(BlockFor(64));
    auto helper = std::async(std::launch::async, [&] { ServeSharedFleets(Rules(), Raid(1, 1, FleetGoal::Roids), idle); });
    { SharedFleetHelper ended(idle); }
    helper.get();
    EXPECT_EQ(idle.State(), FleetShare::kEnd);
}

}  // namespace
}  // namespace kestrin
