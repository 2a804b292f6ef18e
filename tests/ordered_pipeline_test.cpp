#include "search/ordered_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace tarnel;

namespace {

constexpr PipelineLimits fourWorkers{.workers = 4, .inFlight = 3};

TEST(OrderedPipelineTest, delivers_every_item_in_order_with_far_more_items_than_in_flight)
{
    std::vector<std::size_t> delivered;
    std::atomic<std::size_t> ahead{0};
    EXPECT_TRUE(forEachInOrder(
        10'000,
        [&](std::size_t i) {
            // No item is worked more than inFlight ahead of the one delivered next.
            const std::size_t next = ahead.load();
            EXPECT_LT(i, next + fourWorkers.inFlight);
            if (i % 64 == 0) // a slow item now and then, which the others would run ahead of
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            return i * i;
        },
        [&](std::size_t i, std::size_t square) {
            delivered.push_back(square == i * i ? i : 0);
            ahead = i + 1;
            return true;
        },
        fourWorkers));
    ASSERT_EQ(delivered.size(), 10'000u);
    for (std::size_t i = 0; i < delivered.size(); ++i)
        ASSERT_EQ(delivered[i], i);
}

TEST(OrderedPipelineTest, a_failure_on_any_thread_reaches_the_caller_and_stops_the_others)
{
    for (const std::size_t failing : {0u, 1u, 2u, 500u}) {
        std::atomic<std::size_t> worked{0};
        const auto run = [&] {
            forEachInOrder(
                1'000'000,
                [&](std::size_t i) {
                    ++worked;
                    if (i == failing)
                        throw std::runtime_error("worker failed");
                    return i;
                },
                [](std::size_t, std::size_t) { return true; }, fourWorkers);
        };
        EXPECT_THROW(run(), std::runtime_error) << failing;
        EXPECT_LT(worked.load(), failing + 100) << "the others took more items after the failure";
    }
    EXPECT_THROW(forEachInOrder(
                     100, [](std::size_t i) { return i; },
                     [](std::size_t i, std::size_t) -> bool {
                         if (i == 7)
                             throw std::length_error("deliver failed");
                         return true;
                     },
                     fourWorkers),
                 std::length_error);
}

TEST(OrderedPipelineTest, a_stop_or_a_refused_item_ends_it_early)
{
    std::size_t delivered = 0;
    // On one core as on several.
    for (const PipelineLimits limits : {fourWorkers, PipelineLimits{.workers = 1}}) {
        std::stop_source source;
        delivered = 0;
        EXPECT_FALSE(forEachInOrder(
            1'000'000, [](std::size_t i) { return i; },
            [&](std::size_t i, std::size_t) {
                ++delivered;
                if (i == 10)
                    source.request_stop();
                return true;
            },
            limits, source.get_token()));
        EXPECT_EQ(delivered, 11u) << limits.workers << " workers";
    }
    delivered = 0;
    EXPECT_FALSE(forEachInOrder(
        1'000'000, [](std::size_t i) { return i; },
        [&](std::size_t i, std::size_t) {
            ++delivered;
            return i < 20;
        },
        fourWorkers));
    EXPECT_EQ(delivered, 21u);
}

} // namespace
