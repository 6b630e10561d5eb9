#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "CoalescedPost.h"

using namespace orvane;

namespace {

// A worker's progress shown on this (the GUI) thread, as the SD-card
// window's bars are.
struct Progress {
    std::unique_ptr<QObject> context = std::make_unique<QObject>();
    std::atomic<int> value{0};
    std::vector<int> shown;
    std::function<void()> duringApply;
    CoalescedPost post{context.get(),
                       [this] {
                           shown.push_back(value.load());
                           if (duringApply) std::exchange(duringApply, nullptr)();
                       },
                       std::chrono::milliseconds(0)};

    // Requests from a worker while this thread runs no event.
    void FromWorker(int from, int to) {
        std::thread worker([&] {
            for (int i = from; i <= to; ++i) {
                value = i;
                post.Request();
            }
        });
        worker.join();
    }
};

}  // namespace

TEST(CoalescedPost, ManyRequestsFromAWorkerApplyOnceWithTheLastState) {
    Progress p;
    p.FromWorker(1, 10000);
    EXPECT_EQ(p.post.Posts(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.shown, std::vector<int>{10000});
    // A change that comes while the state is being shown is shown next.
    p.duringApply = [&] { p.FromWorker(10001, 10002); };
    p.FromWorker(10001, 10001);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(p.shown, (std::vector<int>{10000, 10001, 10002}));
    EXPECT_EQ(p.post.Applied(), 3);
}

TEST(CoalescedPost, NoApplyRunsAfterItsContextIsGone) {
    Progress p;
    p.FromWorker(1, 50);
    p.context.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.shown.empty());
    EXPECT_EQ(p.post.Applied(), 0);
}
