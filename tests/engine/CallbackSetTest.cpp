#include "engine/CallbackSet.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
using IntCallbacks = CallbackSet<void(int)>;

TEST(CallbackSet, InvokingAnEmptyRegistryDoesNothing) {
    IntCallbacks callbacks;
    callbacks.invoke(1);
    EXPECT_EQ(callbacks.size(), 0u);
}

TEST(CallbackSet, CallsEveryLiveListenerWithTheSameArguments) {
    CallbackSet<void(int, int)> callbacks;
    std::vector<int> seen;
    auto a = callbacks.subscribe([&](int x, int y) { seen.push_back(x * 10 + y); });
    auto b = callbacks.subscribe([&](int x, int y) { seen.push_back(x * 10 + y); });
    callbacks.invoke(4, 2);
    EXPECT_EQ(seen, (std::vector<int>{42, 42}));
}

TEST(CallbackSet, DroppingTheSubscriptionStopsTheCallsAndTheNextInvokeErasesIt) {
    IntCallbacks callbacks;
    int calls = 0;
    auto subscription = callbacks.subscribe([&](int) { ++calls; });
    subscription.reset();
    EXPECT_EQ(callbacks.size(), 1u) << "the expired entry stays until the next invoke";
    callbacks.invoke(0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(callbacks.size(), 0u);
}

TEST(CallbackSet, AListenerThatDropsItselfFinishesAndIsNotCalledAgain) {
    IntCallbacks callbacks;
    std::shared_ptr<IntCallbacks::Function> subscription;
    int calls = 0;
    bool finished = false;
    subscription = callbacks.subscribe([&](int) {
        ++calls;
        subscription.reset(); // the registry's temporary reference keeps this lambda alive
        finished = true;
    });
    callbacks.invoke(0);
    callbacks.invoke(0);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(finished);
    EXPECT_EQ(callbacks.size(), 0u);
}

TEST(CallbackSet, TheSameLambdaSubscribedTwiceIsCalledTwice) {
    IntCallbacks callbacks;
    int calls = 0;
    auto listener = [&](int) { ++calls; };
    auto first = callbacks.subscribe(listener);
    auto second = callbacks.subscribe(listener);
    callbacks.invoke(0);
    EXPECT_EQ(calls, 2);
}

TEST(CallbackSet, ListenersRunInTheOrderOfTheirAllocations) {
    IntCallbacks callbacks;
    std::vector<const void*> order;
    std::vector<std::shared_ptr<IntCallbacks::Function>> subscriptions;
    for (int i = 0; i < 8; ++i) {
        subscriptions.push_back(callbacks.subscribe([&order, &subscriptions, i](int) {
            order.push_back(subscriptions[static_cast<std::size_t>(i)].get());
        }));
    }
    callbacks.invoke(0);
    ASSERT_EQ(order.size(), 8u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end(), std::less<const void*>()));
}

TEST(CallbackSet, DestroyingTheRegistryLeavesTheListenersToTheirOwners) {
    std::shared_ptr<IntCallbacks::Function> subscription;
    {
        IntCallbacks callbacks;
        subscription = callbacks.subscribe([](int) {});
    }
    ASSERT_TRUE(subscription);
    EXPECT_TRUE(*subscription);
}
} // namespace
