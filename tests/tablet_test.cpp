// Tablet input through the exports with a fake driver fed with packets, and the Linux pen
// backend's event translation fed with kernel input events.
#include <gtest/gtest.h>

#include <linux/input.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"
#include "tablet/evdev_driver.h"

using namespace orv;

namespace {

struct FakeDriver : TabletDriver {
    int32_t queryResult = 12;
    PressureAxis axis{0, 1023};
    bool openOk = true;
    int32_t queueResult = 1;
    std::deque<TabletPacket> queue;
    std::string contextName;
    int32_t queueSize = 0, closes = 0, opens = 0;
    bool haveOrigin = true;

    int32_t queryPressureAxis(PressureAxis& a) override {
        a = axis;
        return queryResult;
    }
    intptr_t open(void*, const ContextRequest& r) override {
        contextName = r.name;
        ++opens;
        return openOk ? 7 : 0;
    }
    int32_t setQueueSize(intptr_t, int32_t n) override {
        queueSize = n;
        return queueResult;
    }
    void close(intptr_t) override { ++closes; }
    int32_t getPackets(intptr_t, int32_t max, TabletPacket* out) override {
        int32_t n = 0;
        for (; n < max && !queue.empty(); ++n) {
            if (out) out[n] = queue.front();
            queue.pop_front();
        }
        return n;
    }
    bool windowOrigin(void*, int32_t& x, int32_t& y) override {
        x = 100, y = 50;
        return haveOrigin;
    }
};

struct TabletFixture : ::testing::Test {
    FakeDriver* fake = nullptr;
    void SetUp() override {
        engine().tablet = TabletState{};
        auto d = std::make_unique<FakeDriver>();
        fake = d.get();
        engine().tablet.driver = std::move(d);
        ORV_SetLastError("");
    }
    void TearDown() override { engine().tablet = TabletState{}; }
    void feed(std::initializer_list<TabletPacket> ps) { fake->queue.insert(fake->queue.end(), ps); }
};

}  // namespace

TEST_F(TabletFixture, WithoutTabletEveryCallIsNeutral) {
    fake->queryResult = 0;
    EXPECT_EQ(ORV_InitTablet(nullptr), 0);
    EXPECT_EQ(fake->opens, 0);
    feed({{0x10, 5, 5, 500}});
    EXPECT_EQ(ORV_ReadTabletPackets(), 0);
    ORV_SetTabletOrigin();
    ORV_ResetTabletPressure();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ORV_ReadTabletPressure(0), 10);  // no climbing without a context
    for (int32_t index : {0, 1, -1, 300}) {
        EXPECT_EQ(ORV_ReadRawTabletPressure(index), 0);
        EXPECT_EQ(ORV_IsPacketInvert(index), 0);
        EXPECT_EQ(ORV_PacketStatus(index), 0);
        EXPECT_EQ(ORV_ReadTabletX(index), 0);
        EXPECT_EQ(ORV_ReadTabletY(index), 0);
    }
    ORV_CloseTablet();
    EXPECT_EQ(fake->closes, 0);
    EXPECT_STREQ(ORV_GetLastError(), "");
}

TEST_F(TabletFixture, InitResultFollowsTheOpen) {
    fake->openOk = false;
    EXPECT_EQ(ORV_InitTablet(nullptr), 12);  // refused: the query's result, and no context
    EXPECT_EQ(engine().tablet.context, 0);
    fake->openOk = true;
    fake->queueResult = 5;
    EXPECT_EQ(ORV_InitTablet(nullptr), 5);
    EXPECT_EQ(fake->contextName, "orvcore tablet context");
    EXPECT_EQ(fake->queueSize, 256);
    EXPECT_EQ(ORV_InitTablet(nullptr), 5);  // re-opening closes the open context first
    EXPECT_EQ(fake->closes, 1);
    ORV_CloseTablet();
    ORV_CloseTablet();
    EXPECT_EQ(fake->closes, 2);
    EXPECT_EQ(engine().tablet.context, 0);
}

TEST_F(TabletFixture, PressureScaling) {
    const struct {
        PressureAxis axis;
        uint32_t raw;
        int32_t pressure, rawRead;
    } rows[] = {
        {{0, 1023}, 1023, 100, 100},
        {{0, 1023}, 512, 50, 50},
        {{0, 1023}, 5, 1, 0},     // trunc(0.49) = 0: a touching pen reads 1, the raw reader 0
        {{0, 1023}, 0, 1, 0},
        {{100, 1123}, 1123, 109, 109},  // the axis minimum is not subtracted
        {{0, 0}, 1, 100, 100},    // a single-level axis reads as the full range, not a division by 0
        {{0, 1}, 0xFFFFFFFFu, INT32_MAX, INT32_MAX},  // saturates instead of overflowing
    };
    for (const auto& row : rows) {
        fake->axis = row.axis;
        ASSERT_EQ(ORV_InitTablet(nullptr), 1);
        feed({{0, 0, 0, row.raw}});
        ASSERT_EQ(ORV_ReadTabletPackets(), 1);
        EXPECT_EQ(ORV_ReadRawTabletPressure(0), row.rawRead) << row.axis.minimum << ".." << row.axis.maximum << " raw " << row.raw;
        EXPECT_EQ(engine().tablet.lastPressure, 100);  // raw reads do not remember
        EXPECT_EQ(ORV_ReadTabletPressure(0), row.pressure) << row.axis.minimum << ".." << row.axis.maximum << " raw " << row.raw;
        EXPECT_EQ(engine().tablet.lastPressure, row.pressure);
        engine().tablet.lastPressure = 100;
    }
}

TEST_F(TabletFixture, PressureClimbsWhenNoPacketArrives) {
    ASSERT_EQ(ORV_InitTablet(nullptr), 1);
    ORV_ResetTabletPressure();
    std::vector<int32_t> got;
    for (int i = 0; i < 6; ++i) got.push_back(ORV_ReadTabletPressure(0));
    EXPECT_EQ(got, (std::vector<int32_t>{10, 35, 60, 85, 100, 100}));

    feed({{0, 0, 0, 200}});  // 200 x 100/1023 = 19.55
    ASSERT_EQ(ORV_ReadTabletPackets(), 1);
    EXPECT_EQ(ORV_ReadTabletPressure(0), 19);
    EXPECT_EQ(ORV_ReadTabletPressure(1), 19);  // past the count: the last value, then climbing
    EXPECT_EQ(ORV_ReadTabletPressure(-1), 44);
    EXPECT_EQ(ORV_ReadTabletPressure(0), 19);
}

TEST_F(TabletFixture, ResetDropsQueuedPacketsAndReadersCheckTheIndex) {
    ASSERT_EQ(ORV_InitTablet(nullptr), 1);
    for (int i = 0; i < 1200; ++i) feed({{0, i, i, 1}});
    ORV_ResetTabletPressure();
    EXPECT_EQ(fake->queue.size(), 200u);  // at most 1000 dropped
    fake->queue.clear();

    feed({{0x10 | 0x04, 130, 70, 600}, {0x01, 90, 40, 0}, {0, 0, 0, 0}});
    ASSERT_EQ(ORV_ReadTabletPackets(), 3);
    EXPECT_EQ(ORV_ReadTabletX(0), 130);  // origin still (0, 0)
    ORV_SetTabletOrigin();
    EXPECT_EQ(ORV_ReadTabletX(0), 30);
    EXPECT_EQ(ORV_ReadTabletY(0), 20);
    EXPECT_EQ(ORV_ReadTabletX(1), -10);
    EXPECT_EQ(ORV_IsPacketInvert(0), 1);  // exactly 1, not the bit
    EXPECT_EQ(ORV_IsPacketInvert(1), 0);
    EXPECT_EQ(ORV_PacketStatus(0), 0x14);
    for (int32_t index : {3, 5, 256, -1, INT32_MIN}) {
        EXPECT_EQ(ORV_ReadTabletX(index), 0) << index;
        EXPECT_EQ(ORV_ReadTabletY(index), 0) << index;
        EXPECT_EQ(ORV_PacketStatus(index), 0) << index;
        EXPECT_EQ(ORV_IsPacketInvert(index), 0) << index;
        EXPECT_EQ(ORV_ReadRawTabletPressure(index), 0) << index;
    }

    for (int i = 0; i < 300; ++i) feed({{0, i, 0, 1}});
    EXPECT_EQ(ORV_ReadTabletPackets(), 256);  // one fetch holds 256 packets
    EXPECT_EQ(ORV_ReadTabletPackets(), 44);
    ORV_CloseTablet();
    EXPECT_EQ(ORV_ReadTabletPackets(), 0);
    EXPECT_EQ(ORV_ReadTabletX(0), 0);  // a closed context has no packets
}

TEST(TabletSystemBackend, WithoutAPenDeviceInitIsNeutral) {
    engine().tablet = TabletState{};
    const int32_t r = ORV_InitTablet(nullptr);  // probes /dev/input for a pen
    if (r != 0) {
        ORV_CloseTablet();
        engine().tablet = TabletState{};
        GTEST_SKIP() << "this machine has a readable pen device";
    }
    EXPECT_EQ(engine().tablet.context, 0);
    EXPECT_EQ(ORV_ReadTabletPackets(), 0);
    EXPECT_EQ(ORV_ReadTabletPressure(0), 100);
    engine().tablet = TabletState{};
}

namespace {
const EvdevAxes kAxes{{0, 9999}, {1000, 5999}, {0, 4095}};
}

TEST(EvdevPackets, ReportsBecomePacketsWithScaledPositions) {
    EvdevPacketAssembler a(kAxes);
    a.setOutput(1000, 500);
    a.feed(EV_ABS, ABS_X, 5000);
    a.feed(EV_ABS, ABS_Y, 3500);
    a.feed(EV_SYN, SYN_REPORT, 0);  // no tool in proximity yet: no packet
    EXPECT_EQ(a.queued(), 0u);
    a.feed(EV_KEY, BTN_TOOL_PEN, 1);
    a.feed(EV_ABS, ABS_PRESSURE, 2048);
    a.feed(EV_SYN, SYN_REPORT, 0);
    a.feed(EV_KEY, BTN_TOOL_PEN, 0);
    a.feed(EV_KEY, BTN_TOOL_RUBBER, 1);
    a.feed(EV_ABS, ABS_X, 9999);
    a.feed(EV_ABS, ABS_Y, 1000);
    a.feed(EV_SYN, SYN_REPORT, 0);
    a.feed(EV_KEY, BTN_TOOL_RUBBER, 0);
    a.feed(EV_SYN, SYN_REPORT, 0);  // leaving proximity: one marked packet
    a.feed(EV_SYN, SYN_REPORT, 0);  // then nothing
    TabletPacket p[8];
    ASSERT_EQ(a.take(8, p), 3);
    EXPECT_EQ(p[0].x, 500);
    EXPECT_EQ(p[0].y, 250);
    EXPECT_EQ(p[0].pressure, 2048u);
    EXPECT_EQ(p[0].status, 0u);
    EXPECT_EQ(p[1].x, 999);  // the axis maximum lands on the last pixel
    EXPECT_EQ(p[1].y, 0);
    EXPECT_EQ(p[1].status, kPacketInvert);
    EXPECT_EQ(p[2].status, kPacketOutOfProximity);
    EXPECT_EQ(p[2].pressure, 0u);
}

TEST(EvdevPackets, DroppedEventsAndAFullQueue) {
    EvdevPacketAssembler a(kAxes);
    a.setQueueLimit(2);
    a.feed(EV_KEY, BTN_TOOL_PEN, 1);
    for (int i = 0; i < 3; ++i) {
        a.feed(EV_ABS, ABS_X, 10 + i);
        a.feed(EV_SYN, SYN_REPORT, 0);
    }
    a.feed(EV_SYN, SYN_DROPPED, 0);
    a.feed(EV_ABS, ABS_X, 77);       // part of a torn report: ignored
    a.feed(EV_SYN, SYN_REPORT, 0);   // ends the drop, produces nothing
    EXPECT_TRUE(a.resyncNeeded());
    EXPECT_FALSE(a.resyncNeeded());
    TabletPacket p[4];
    ASSERT_EQ(a.take(4, p), 2);  // the oldest packet made way
    EXPECT_EQ(p[0].x, 11);       // no output size: device units from the axis minimum
    EXPECT_EQ(p[1].x, 12);
}

TEST(EvdevPackets, DeviceStreamReachesTheExports) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    engine().tablet = TabletState{};
    engine().tablet.driver = makeEvdevTabletDriver(fds[0], kAxes);
    auto send = [&](std::initializer_list<input_event> evs) {
        for (const input_event& e : evs) ASSERT_EQ(write(fds[1], &e, sizeof e), ssize_t(sizeof e));
    };
    auto ev = [](uint16_t type, uint16_t code, int32_t value) {
        input_event e{};
        e.type = type, e.code = code, e.value = value;
        return e;
    };
    send({ev(EV_KEY, BTN_TOOL_PEN, 1), ev(EV_SYN, SYN_REPORT, 0)});  // before the context: not delivered
    ASSERT_NE(ORV_InitTablet(nullptr), 0);
    EXPECT_FLOAT_EQ(engine().tablet.pressureScale, 100.0f / 4095.0f);
    send({ev(EV_ABS, ABS_X, 0), ev(EV_ABS, ABS_Y, 1000), ev(EV_ABS, ABS_PRESSURE, 4095), ev(EV_SYN, SYN_REPORT, 0),
          ev(EV_KEY, BTN_TOOL_RUBBER, 1), ev(EV_ABS, ABS_PRESSURE, 1000), ev(EV_SYN, SYN_REPORT, 0)});
    ASSERT_EQ(ORV_ReadTabletPackets(), 2);
    EXPECT_EQ(ORV_ReadTabletX(0), 0);
    EXPECT_EQ(ORV_ReadTabletY(0), 0);
    EXPECT_EQ(ORV_ReadTabletPressure(0), 100);
    EXPECT_EQ(ORV_ReadTabletPressure(1), 24);  // 1000 x 100/4095
    EXPECT_EQ(ORV_IsPacketInvert(1), 1);
    EXPECT_EQ(ORV_ReadTabletPackets(), 0);

    close(fds[1]);  // the device goes away: reads end quietly
    EXPECT_EQ(ORV_ReadTabletPackets(), 0);
    ORV_CloseTablet();
    engine().tablet = TabletState{};
}
