// The weather cache's story over time: one fetch per city however many ask,
// fresh for a while, stale but kept when the upstream fails.
#include <gtest/gtest.h>

#include "server/forecast_cache.h"

namespace torvane::server {
namespace {

using Step = ForecastCache::Step;
using namespace std::chrono_literals;

TEST(ForecastCache, OneFetchForManyCallersThenFreshThenStale) {
    ForecastCache cache({15min, 30s});
    const auto t0 = ForecastCache::Clock::time_point{} + 1h;
    EXPECT_EQ(cache.Ask("深圳", t0).step, Step::Fetch);
    for (int caller = 0; caller < 3; ++caller) EXPECT_EQ(cache.Ask("深圳", t0 + 1s).step, Step::Wait);
    EXPECT_EQ(cache.Ask("北京", t0 + 1s).step, Step::Fetch) << "cities fetch apart";
    cache.Complete("深圳", "page 1", t0 + 2s);
    EXPECT_EQ(cache.Answer("深圳"), "page 1");

    const auto fresh = cache.Ask("深圳", t0 + 2s + 14min);
    EXPECT_EQ(fresh.step, Step::Serve);
    EXPECT_EQ(fresh.page, "page 1");

    // Old: one caller fetches again; the others keep waiting for it.
    const auto late = t0 + 2s + 15min;
    EXPECT_EQ(cache.Ask("深圳", late).step, Step::Fetch);
    EXPECT_EQ(cache.Ask("深圳", late).step, Step::Wait);
    cache.Complete("深圳", std::nullopt, late + 3s);
    EXPECT_EQ(cache.Answer("深圳"), "page 1") << "a failed fetch keeps the old page";

    // The upstream just failed: the stale page at once, no fetch.
    const auto backingOff = cache.Ask("深圳", late + 10s);
    EXPECT_EQ(backingOff.step, Step::Serve);
    EXPECT_EQ(backingOff.page, "page 1");
    EXPECT_EQ(cache.Ask("深圳", late + 3s + 30s).step, Step::Fetch);
    cache.Complete("深圳", "page 2", late + 34s);
    EXPECT_EQ(cache.Ask("深圳", late + 35s).page, "page 2");
}

TEST(ForecastCache, NoPageAtAllWhileTheUpstreamFails) {
    ForecastCache cache({15min, 30s});
    const auto t0 = ForecastCache::Clock::time_point{} + 1h;
    EXPECT_EQ(cache.Ask("拉萨", t0).step, Step::Fetch);
    cache.Complete("拉萨", std::nullopt, t0 + 3s);
    EXPECT_EQ(cache.Answer("拉萨"), std::nullopt);
    const auto decision = cache.Ask("拉萨", t0 + 4s);
    EXPECT_EQ(decision.step, Step::Serve);
    EXPECT_EQ(decision.page, std::nullopt);
}

}  // namespace
}  // namespace torvane::server
