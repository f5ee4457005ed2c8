// The idle rule over a scripted queue.
#include <gtest/gtest.h>

#include "app/message_loop.h"
#include "platform/pump_messages.h"
#include "ui/headless/headless_window_system.h"

using ui::headless::HeadlessWindowSystem;

namespace {

struct CountingIdle : app::IdleHandler {
    bool OnIdle() override {
        ++calls;
        return true;  // asking for more changes nothing: one call per idle phase
    }
    int calls = 0;
};

struct SeenFilter : app::MessageFilter {
    explicit SeenFilter(std::vector<std::string>& log, std::string name, bool takes)
        : log_(log), name_(std::move(name)), takes_(takes) {}
    bool PreTranslateMessage(const ui::Message&) override {
        log_.push_back(name_);
        return takes_;
    }
    std::vector<std::string>& log_;
    std::string name_;
    bool takes_;
};

TEST(MessageLoopTest, IdleRunsOnceAfterEachMessageButMovesPaintsAndTimers) {
    HeadlessWindowSystem ws;
    app::MessageLoop loop(ws);
    CountingIdle idle;
    loop.AddIdleHandler(&idle);
    std::vector<int> seen;
    auto queue = [&](std::vector<std::uint32_t> codes, int expectBefore) {
        ws.AddPlayerStep([&seen, &idle, codes, expectBefore](HeadlessWindowSystem& w) {
            seen.push_back(idle.calls);
            EXPECT_EQ(idle.calls, expectBefore);
            for (auto code : codes) w.Queue(ui::Message{nullptr, code});
        });
    };
    queue({ui::kWmMouseMove, ui::kWmPaint, ui::kWmSysTimer, ui::kWmNcMouseMove}, 1);  // at start: once
    queue({ui::kWmCommand}, 1);                                                       // none for those four
    queue({ui::kWmCommand, ui::kWmCommand, ui::kWmMouseMove}, 2);                     // once after the command
    queue({}, 3);  // a burst of messages still gives one idle call once the queue is empty
    EXPECT_EQ(loop.Run(), ui::headless::kPlayerDone);
    EXPECT_EQ(seen.size(), 4u);
}

TEST(MessageLoopTest, FiltersRunNewestFirstUntilOneTakesTheMessage) {
    HeadlessWindowSystem ws;
    app::MessageLoop loop(ws);
    std::vector<std::string> log;
    SeenFilter a(log, "a", false), b(log, "b", true), c(log, "c", false);
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    ws.AddPlayerStep([](HeadlessWindowSystem& w) { w.Queue(ui::Message{nullptr, ui::kWmCommand}); });
    loop.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b"}));
}

TEST(MessageLoopTest, TheQuitCodeEndsTheLoop) {
    HeadlessWindowSystem ws;
    app::MessageLoop loop(ws);
    ws.AddPlayerStep([](HeadlessWindowSystem& w) { w.PostQuit(1); });
    EXPECT_EQ(loop.Run(), 1);
}

TEST(PumpMessagesTest, DrainsTheQueueAndKeepsAQuitRequest) {
    HeadlessWindowSystem ws;
    ws.Queue(ui::Message{nullptr, ui::kWmCommand});
    ws.PostQuit(1);
    ws.Queue(ui::Message{nullptr, ui::kWmPaint});
    platform::PumpMessages(ws, nullptr);
    ui::Message m;
    ASSERT_TRUE(ws.PeekQueue(m, true));
    EXPECT_EQ(m.code, ui::kWmQuit);  // the loop still sees it
    EXPECT_EQ(m.wParam, 1u);
    EXPECT_FALSE(ws.PeekQueue(m, true));
}

}  // namespace
