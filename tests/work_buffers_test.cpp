// Work buffers through the exports: allocation fills from the current layer, refresh,
// copies in, release, and the state left by a failed allocation.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"

using namespace orv;

namespace {
constexpr int W = 5, H = 3;

struct WorkBufferFixture : ::testing::Test {
    std::vector<uint16_t> layer;
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 8, 0);
        ASSERT_EQ(ORV_CreateLayer(2, W, H), 1);
        layer.resize(W * H * 4);
        for (size_t i = 0; i < layer.size(); ++i) layer[i] = static_cast<uint16_t>(i * 0x0A0B + 0x00FF);
        ORV_SetLayerData(layer.data(), 2);
        ORV_SetLayer(2);
        ORV_SetLastError("");
    }
    void TearDown() override { ORV_DeleteImage(); }
    WorkBuffers& work() { return engine().effects.work; }
    std::vector<uint8_t> highBytes(int channels) const {
        std::vector<uint8_t> out;
        for (size_t p = 0; p < layer.size(); p += 4)
            for (int c = 0; c < channels; ++c) out.push_back(static_cast<uint8_t>(layer[p + c] >> 8));
        return out;
    }
    static std::vector<uint8_t> bytes(const Buffer<uint8_t>& b) { return {b.data(), b.data() + b.size()}; }
};
}  // namespace

TEST_F(WorkBufferFixture, SourceIsASnapshotUntilRefreshed) {
    EXPECT_EQ(ORV_IPLUpdateSrcBuffer32(), nullptr);  // no source yet: nothing happens
    EXPECT_FALSE(work().src32);

    ORV_IPLAllocSrcBuffer32();
    ASSERT_EQ(work().src32.size(), size_t(W * H * 4));
    EXPECT_EQ(bytes(work().src32), highBytes(4));

    const std::vector<uint8_t> before = bytes(work().src32);
    for (auto& v : layer) v = static_cast<uint16_t>(~v);
    ORV_SetLayerData(layer.data(), 2);  // the layer changes; the copy does not follow
    EXPECT_EQ(bytes(work().src32), before);
    EXPECT_EQ(ORV_IPLUpdateSrcBuffer32(), work().src32.data());
    EXPECT_EQ(bytes(work().src32), highBytes(4));

    ORV_IPLAllocSrcBuffer24();
    ASSERT_EQ(work().src24.size(), size_t(W * H * 3));
    EXPECT_EQ(bytes(work().src24), highBytes(3));
    EXPECT_STREQ(ORV_GetLastError(), "");
}

TEST_F(WorkBufferFixture, SetCopiesOnlyWhenBufferAndArgumentExist) {
    std::vector<uint8_t> host(W * H * 4);
    for (size_t i = 0; i < host.size(); ++i) host[i] = static_cast<uint8_t>(i * 7 + 1);
    ORV_IPLSetSrcBuffer32(host.data());  // before the buffers exist: nothing, no crash
    ORV_IPLSetDstBuffer32(host.data());
    EXPECT_FALSE(work().src32);
    EXPECT_FALSE(work().dst32);

    ORV_IPLAllocSrcBuffer32();
    ORV_IPLAllocDstBuffer32();
    const std::vector<uint8_t> src = bytes(work().src32);
    ORV_IPLSetSrcBuffer32(nullptr);
    EXPECT_EQ(bytes(work().src32), src);
    ORV_IPLSetSrcBuffer32(host.data());
    ORV_IPLSetDstBuffer32(host.data());
    EXPECT_EQ(bytes(work().src32), host);
    EXPECT_EQ(bytes(work().dst32), host);
}

TEST_F(WorkBufferFixture, ReallocationAndReleaseKeepOneBufferEach) {
    ORV_IPLAllocDstBuffer32();
    ORV_IPLAllocDstBuffer32();  // the first is released, not leaked (checked under the sanitizer)
    EXPECT_EQ(work().dst32.size(), size_t(W * H * 4));
    ORV_IPLAllocDstBuffer24();
    EXPECT_EQ(work().dst24.size(), size_t(W * H * 3));

    ORV_IPLFreeDstBuffer32();
    ORV_IPLFreeDstBuffer32();  // releasing what is not there does nothing and reports nothing
    ORV_IPLFreeSrcBuffer32();
    ORV_IPLFreeSrcBuffer24();
    ORV_IPLFreeDstBuffer24();
    EXPECT_FALSE(work().dst32);
    EXPECT_FALSE(work().dst24);
    EXPECT_STREQ(ORV_GetLastError(), "");

    ORV_IPLAllocSrcBuffer32();
    ORV_NewSize(nullptr, W + 1, H, 8, 0);  // a re-size releases every work buffer
    EXPECT_FALSE(work().src32);
}

TEST_F(WorkBufferFixture, FailedAllocationLeavesNullAndItsText) {
    const struct {
        void (*alloc)();
        Buffer<uint8_t> WorkBuffers::*buf;
        const char* text;
    } rows[] = {
        {ORV_IPLAllocSrcBuffer32, &WorkBuffers::src32, "IPLAllocSrcBuffer32 Excpt"},
        {ORV_IPLAllocDstBuffer32, &WorkBuffers::dst32, "IPLAllocDstBuffer32 Excpt"},
        {ORV_IPLAllocSrcBuffer24, &WorkBuffers::src24, "IPLAllocSrcBuffer24 Excpt"},
        {ORV_IPLAllocDstBuffer24, &WorkBuffers::dst24, "IPLAllocDstBuffer24 Excpt"},
    };
    for (const auto& row : rows) {
        row.alloc();
        ASSERT_TRUE(work().*row.buf) << row.text;
        engine().page.pageHeight = -1;  // a size no allocation accepts
        row.alloc();
        engine().page.pageHeight = H;
        EXPECT_FALSE(work().*row.buf) << row.text;
        EXPECT_STREQ(ORV_GetLastError(), row.text);
    }
}

TEST_F(WorkBufferFixture, EmptyCurrentSlotGivesZeroedSource) {
    ORV_DeleteLayer(2);
    ORV_IPLAllocSrcBuffer32();
    ASSERT_TRUE(work().src32);
    EXPECT_EQ(bytes(work().src32), std::vector<uint8_t>(W * H * 4, 0));
}
