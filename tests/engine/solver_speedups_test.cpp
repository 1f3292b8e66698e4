// The solver's double-precision shortcuts: the lanes' exp and the skipping of decided
// bisection cycles. The solver tests check that results stay identical to the extended
// evaluation; these check each shortcut on its own, edges included.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/lane_exp.h"
#include "engine/search_regions.h"

namespace kestrin {
namespace {

double UnitsInLastPlace(double got, long double want) {
    const auto rounded = static_cast<double>(want);
    const double ulp = std::nextafter(std::fabs(rounded), INFINITY) - std::fabs(rounded);
    return static_cast<double>(std::fabs(got - want) / ulp);
}

TEST(LaneExp, WithinOneAndAHalfUnitsDownToTheNormalRangeAndZeroBelow) {
    std::mt19937_64 rng(7);
    for (const double low : {-708.0, -40.0, -1.0, -1e-9}) {
        std::uniform_real_distribution<double> x(low, 0.0);
        for (int i = 0; i < 200000; ++i) {
            const DoubleLanes in{x(rng), x(rng)};
            const DoubleLanes out = ExpLanes(in);
            for (std::size_t lane = 0; lane < kLaneCount; ++lane)
                ASSERT_LE(UnitsInLastPlace(out[lane], std::exp(static_cast<long double>(in[lane]))), 1.5)
                    << std::hexfloat << in[lane];
        }
    }
    const DoubleLanes edges = ExpLanes(DoubleLanes{-708.5, -INFINITY});
    EXPECT_EQ(edges[0], 0.0);
    EXPECT_EQ(edges[1], 0.0);
    const DoubleLanes exact = ExpLanes(DoubleLanes{0.0, NAN});
    EXPECT_EQ(exact[0], 1.0);
    EXPECT_TRUE(std::isnan(exact[1]));
}

// A plain bisection over [0, 1] that consults the regions cycle by cycle, run to the first
// undecided midpoint after `start` cycles chosen at random.
TEST(SkipDecidedCycles, LandsWhereCycleByCycleBisectionMeetsItsFirstUndecidedMidpoint) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ShotsModel::Approximation far{0, 0};
    for (int trial = 0; trial < 20000; ++trial) {
        KnownRegions known;
        // Regions from wide apart down to a few units of 2^-50 apart, or not there at all.
        const double centre = unit(rng);
        const double gap = std::ldexp(unit(rng), -static_cast<int>(unit(rng) * 52));
        if (trial % 5 != 0) {
            far.shots = 10;
            known.Learn(centre - gap, far, 0, 1);
        }
        if (trial % 7 != 0) {
            far.shots = -10;
            known.Learn(centre + gap, far, 0, 1);
        }
        const int start = static_cast<int>(unit(rng) * 3);  // cycles already taken plainly
        double lo = 0, hi = 1;
        int counter = 50;
        auto decided = [&](double g) { return g <= known.ShortUpTo() || g >= known.SpareFrom(); };
        for (int i = 0; i < start; ++i, --counter) ((lo + hi) / 2 <= centre ? lo : hi) = (lo + hi) / 2;
        double plainLo = lo, plainHi = hi;
        int plainCounter = counter;
        while (plainCounter > 1 && decided((plainLo + plainHi) / 2)) {
            const double g = (plainLo + plainHi) / 2;
            (g <= known.ShortUpTo() ? plainLo : plainHi) = g;
            --plainCounter;
        }
        if (decided((plainLo + plainHi) / 2)) {  // every cycle to come is decided: no skip
            plainLo = lo, plainHi = hi, plainCounter = counter;
        }
        SkipDecidedCycles(known, lo, hi, counter);
        ASSERT_EQ(lo, plainLo) << trial;
        ASSERT_EQ(hi, plainHi) << trial;
        ASSERT_EQ(counter, plainCounter) << trial;
    }
}

}  // namespace
}  // namespace kestrin
