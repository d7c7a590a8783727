// The undo history: recording, the undo/redo exchange, limits, budget and bad input.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "engine/engine_state.h"
#include "orvcore.h"
#include "undo/undo.h"

using namespace orv;

namespace {

constexpr int W = 64, H = 48;
using Pixels = std::vector<uint16_t>;

Pixels layerPixels(int layer) {
    const LayerRecord& l = engine().layers.slots[layer];
    return l.present() ? Pixels(l.pixels.data(), l.pixels.data() + l.pixels.size()) : Pixels{};
}
Pixels maskValues() {
    const auto& m = engine().mask.maskBuffer;
    return Pixels(m.data(), m.data() + m.size());
}

// Writes seeded pixels into [x0, x1) x [y0, y1) of the current layer, as a dab painter
// does, and grows the changed rectangle when `dab` is set.
void paint(int x0, int y0, int x1, int y1, uint32_t seed, bool dab = true) {
    std::mt19937 rng(seed);
    LayerRecord* l = engine().layers.currentLayer;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 4; ++c) l->pixels[(static_cast<size_t>(y) * W + x) * 4 + c] = static_cast<uint16_t>(rng());
    if (dab) engine().undo.dirtyRect.grow(x0, y0, x1, y1);
}
void paintMask(int x0, int y0, int x1, int y1, uint32_t seed, bool dab = true) {
    std::mt19937 rng(seed);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) engine().mask.maskBuffer[static_cast<size_t>(y) * W + x] = static_cast<uint16_t>(rng());
    if (dab) engine().undo.dirtyRect.grow(x0, y0, x1, y1);
}

struct UndoFixture : ::testing::Test {
    void SetUp() override {
        ORV_CreateImage(nullptr, W, H, 16, 0);
        for (int layer : {1, 2, 3, 5}) {
            ASSERT_EQ(ORV_CreateLayer(layer, W, H), 1);
            ORV_SetLayer(layer);
            paint(0, 0, W, H, 100 + layer, false);
        }
        ORV_SetLayer(2);
        ORV_SetUndoLevels(20);
        ORV_SetUndoMB(64);
    }
    void TearDown() override {
        ORV_SetUndoLevels(0);
        UndoState& u = engine().undo;
        u.undoAutoBudget = false;
        u.undoBudgetKB = 0;
        u.memoryStatus = &queryMemoryStatus;
        u.beforeSnapshotAllocation = nullptr;
        ORV_DeleteImage();
    }
};

}  // namespace

TEST_F(UndoFixture, StrokeRecordsItsRectanglePlusOneAndEffectRecordsThePage) {
    paint(10, 20, 31, 41, 1);
    const DirtyRect d = engine().undo.dirtyRect;
    EXPECT_EQ((std::vector<int>{d.x0, d.y0, d.x1, d.y1}), (std::vector<int>{10, 20, 31, 41}));
    ORV_SaveUndoBuffer(1, 0);
    const UndoRecord& e = engine().undo.entries[0];
    EXPECT_EQ((std::vector<int>{e.x0, e.y0, e.x1, e.y1}), (std::vector<int>{10, 20, 31, 41}));
    EXPECT_EQ(e.pixels.size(), 22u * 22 * 4);
    EXPECT_FALSE(e.mask);
    EXPECT_EQ(engine().undo.layerOfUndo[0], 2);
    EXPECT_EQ(engine().undo.dirtyRect.x0, W - 1);  // emptied

    paint(0, 0, W, H, 2, false);  // an effect: no dab, whole page
    ORV_SaveUndoBuffer(1, 1);
    const UndoRecord& f = engine().undo.entries[0];
    EXPECT_EQ((std::vector<int>{f.x0, f.y0, f.x1, f.y1}), (std::vector<int>{0, 0, W - 1, H - 1}));
    EXPECT_TRUE(f.mask);

    // A rectangle only one pixel wide after clipping also records the whole page.
    paint(W - 1, 5, W, 9, 3);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(engine().undo.entries[0].x1, W - 1);
    paint(W - 3, H - 3, W, H, 4);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(engine().undo.entries[0].x1, W - 1);
    EXPECT_EQ(engine().undo.entries[0].y1, H - 1);
}

TEST_F(UndoFixture, UndoRedoRestoreBitForBitAndCount) {
    std::vector<Pixels> states{layerPixels(2)};
    for (uint32_t i = 0; i < 3; ++i) {
        paint(3 + i, 4, 20 + 3 * i, 30, i);
        ORV_SaveUndoBuffer(1, 0);
        states.push_back(layerPixels(2));
    }
    ORV_Undo();
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), states[1]);
    EXPECT_EQ(ORV_GetRedoCount(), 2);
    EXPECT_EQ(ORV_GetUndoCount(), 3);
    ORV_Redo();
    EXPECT_EQ(layerPixels(2), states[2]);
    ORV_Undo();
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), states[0]);
    EXPECT_EQ(ORV_CanUndo(), 0);
    ORV_Undo();  // at the end: nothing
    EXPECT_EQ(layerPixels(2), states[0]);
    for (int i = 1; i <= 3; ++i) {
        ORV_Redo();
        EXPECT_EQ(layerPixels(2), states[i]);
    }
    EXPECT_EQ(ORV_CanRedo(), 0);
    ORV_Redo();  // at the end: nothing
    EXPECT_EQ(layerPixels(2), states[3]);

    ORV_Undo();
    ORV_Undo();
    paint(1, 1, 9, 9, 77);
    ORV_SaveUndoBuffer(1, 0);  // discards the two redo entries
    EXPECT_EQ(ORV_GetUndoCount(), 2);
    EXPECT_EQ(ORV_GetRedoCount(), 0);
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), states[1]);
}

TEST_F(UndoFixture, MaskSnapshotsUndoWithThePixels) {
    const Pixels mask0 = maskValues(), px0 = layerPixels(2);
    paint(2, 2, 12, 12, 5);
    paintMask(8, 8, 30, 20, 6);
    ORV_SaveUndoBuffer(1, 1);
    const Pixels mask1 = maskValues(), px1 = layerPixels(2);
    ORV_Undo();
    EXPECT_EQ(maskValues(), mask0);
    EXPECT_EQ(layerPixels(2), px0);
    ORV_Redo();
    EXPECT_EQ(maskValues(), mask1);
    EXPECT_EQ(layerPixels(2), px1);
}

TEST_F(UndoFixture, UndoSwitchesToTheEntrysLayer) {
    ORV_SetLayer(3);
    const Pixels before3 = layerPixels(3);
    paint(0, 0, 10, 10, 8);
    ORV_SaveUndoBuffer(1, 0);
    ORV_SetLayer(5);
    const Pixels before5 = layerPixels(5);
    ORV_Undo();
    EXPECT_EQ(ORV_GetLayerNum(), 3);
    EXPECT_EQ(layerPixels(3), before3);
    EXPECT_EQ(layerPixels(5), before5);
}

TEST_F(UndoFixture, LevelsLimitAndZeroLevels) {
    ORV_SetUndoLevels(1000);
    EXPECT_EQ(engine().undo.undoLevels, 500);
    ORV_SetUndoLevels(3);
    for (uint32_t i = 0; i < 6; ++i) {
        paint(0, 0, 8, 8, i);
        ORV_SaveUndoBuffer(1, 0);
    }
    EXPECT_EQ(ORV_GetUndoCount(), 3);

    ORV_SetUndoLevels(0);
    paint(4, 4, 16, 16, 9);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_CanUndo(), 0);
    EXPECT_EQ(ORV_GetUndoCount(), 0);
    // The back buffer still follows the change.
    const Pixels now = layerPixels(2);
    EXPECT_TRUE(std::equal(now.begin(), now.end(), engine().undo.backPixels.data()));
}

TEST_F(UndoFixture, PauseStopsRecordingUndoAndRedo) {
    paint(0, 0, 8, 8, 1);
    ORV_SaveUndoBuffer(1, 0);
    ORV_PauseUndo();
    const Pixels now = layerPixels(2);
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), now);
    EXPECT_EQ(ORV_CanUndo(), 1);
    paint(9, 9, 20, 20, 2);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_GetUndoCount(), 1);
    ORV_ResumeUndo();
    ORV_Undo();
    EXPECT_EQ(ORV_GetRedoCount(), 1);
    ORV_PauseUndo();
    const Pixels undone = layerPixels(2);
    ORV_Redo();
    EXPECT_EQ(layerPixels(2), undone);
    ORV_ClearUndo();
    EXPECT_FALSE(engine().undo.paused);
}

TEST_F(UndoFixture, NothingToRecordKeepsTheHistory) {
    paint(0, 0, 8, 8, 1);
    ORV_SaveUndoBuffer(1, 0);
    ORV_SaveUndoBuffer(0, 0);
    EXPECT_EQ(ORV_GetUndoCount(), 1);
    EXPECT_EQ(ORV_CanUndo(), 1);
}

TEST_F(UndoFixture, EntryOfADeletedLayerIsNeverAppliedElsewhere) {
    paint(0, 0, 10, 10, 1);
    ORV_SaveUndoBuffer(1, 0);
    const Pixels layer2AfterFirst = layerPixels(2);
    ORV_SetLayer(3);
    paint(0, 0, 10, 10, 2);
    paintMask(0, 0, 10, 10, 3);
    ORV_SaveUndoBuffer(1, 1);  // pixels of layer 3 plus the mask
    ORV_SetLayer(5);
    paint(20, 20, 30, 30, 4);
    ORV_SaveUndoBuffer(1, 0);  // layer 5, only pixels
    const Pixels mask1 = maskValues();
    (void)mask1;

    ORV_DeleteLayer(5);
    ORV_DeleteLayer(3);
    ORV_SetLayer(2);
    const Pixels layer2 = layerPixels(2);
    const Pixels maskBefore = maskValues();
    // The layer-5 entry is dropped; the layer-3 entry keeps only its mask, which is undone.
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), layer2);
    EXPECT_NE(maskValues(), maskBefore);
    EXPECT_EQ(ORV_GetUndoCount(), 2);
    ORV_Redo();
    EXPECT_EQ(maskValues(), maskBefore);
    EXPECT_EQ(layerPixels(2), layer2);
    ORV_Undo();
    ORV_Undo();  // the layer-2 entry, applied to layer 2
    EXPECT_EQ(ORV_GetLayerNum(), 2);
    EXPECT_NE(layerPixels(2), layer2AfterFirst);
    ORV_Redo();
    EXPECT_EQ(layerPixels(2), layer2AfterFirst);
}

TEST_F(UndoFixture, PageResizeEmptiesTheHistoryAndKeepsLayers) {
    paint(0, 0, 8, 8, 1);
    ORV_SaveUndoBuffer(1, 0);
    ORV_NewSize(nullptr, W / 2, H / 2, 16, 0);
    const Pixels l2 = layerPixels(2);
    EXPECT_EQ(ORV_CanUndo(), 0);
    ORV_Undo();
    ORV_Redo();
    EXPECT_EQ(layerPixels(2), l2);
    // A layer left at the old size is neither recorded nor touched.
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_GetUndoCount(), 0);
    ORV_NewSize(nullptr, W, H, 16, 0);
}

TEST_F(UndoFixture, SnapshotThatDoesNotFitIsNotRecordedButBackBuffersFollow) {
    paint(0, 0, 8, 8, 1);
    ORV_SaveUndoBuffer(1, 0);
    const Pixels afterFirst = layerPixels(2);
    engine().undo.beforeSnapshotAllocation = [](size_t) { throw std::bad_alloc(); };
    paint(4, 4, 30, 30, 2);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_GetUndoCount(), 0);  // every older entry was released looking for room
    const Pixels afterSecond = layerPixels(2);
    EXPECT_TRUE(std::equal(afterSecond.begin(), afterSecond.end(), engine().undo.backPixels.data()));
    engine().undo.beforeSnapshotAllocation = nullptr;
    paint(10, 10, 20, 20, 3);
    ORV_SaveUndoBuffer(1, 0);
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), afterSecond);
    (void)afterFirst;

    // A failure that clears once older entries are gone: the snapshot is made then.
    int failures = 2;
    engine().undo.beforeSnapshotAllocation = [&](size_t) {
        if (failures-- > 0) throw std::bad_alloc();
    };
    for (uint32_t i = 0; i < 4; ++i) {
        paint(0, 0, 8, 8, 10 + i);
        ORV_SaveUndoBuffer(1, 0);
    }
    EXPECT_EQ(ORV_CanUndo(), 1);
}

TEST_F(UndoFixture, BudgetFixedAutomaticAndAccounting) {
    EXPECT_EQ(ORV_GetTotalUndoMemory(), 64);
    const int32_t base = (W * H * 10) / 1024;
    EXPECT_EQ(engine().undo.undoUsedKB, base);
    paint(0, 0, 40, 40, 1);  // 41 x 41 snapshot
    ORV_SaveUndoBuffer(1, 1);
    EXPECT_EQ(engine().undo.undoUsedKB, base + (41 * 41 * 8) / 1024 + (41 * 41 * 2) / 1024);
    ORV_ClearUndo();
    EXPECT_EQ(engine().undo.undoUsedKB, base);

    // The automatic budget: 85% of the smaller free figure plus the held memory, less 20
    // page-sized snapshots, never below 15 of them.
    static MemoryStatus fake;
    engine().undo.memoryStatus = [] () noexcept { return fake; };
    fake.availPhys = 300ull << 20;
    fake.availPageFile = 200ull << 20;
    ORV_SetUndoMB(0);
    const long long P = (W * H) / 1024;
    EXPECT_EQ(engine().undo.undoBudgetKB, static_cast<int32_t>(204800 * 0.85 + base) - 20 * P);
    fake.availPhys = fake.availPageFile = 0;
    ORV_CreateImage(nullptr, 1000, 1000, 16, 0);
    EXPECT_EQ(ORV_GetTotalUndoMemory(), 14640 / 1024);
    EXPECT_EQ(engine().undo.undoBudgetKB, 14640);
    ORV_SetUndoMB(64);
    EXPECT_EQ(ORV_GetTotalUndoMemory(), 64);
}

TEST_F(UndoFixture, BudgetDropsOldestEntries) {
    // Room for the back buffers plus two 32 x 32 snapshots (8 + 2 KB each).
    engine().undo.undoBudgetKB = engine().undo.undoUsedKB + 25;
    for (uint32_t i = 0; i < 5; ++i) {
        paint(0, 0, 31, 31, i);
        ORV_SaveUndoBuffer(1, 1);
    }
    EXPECT_EQ(ORV_GetUndoCount(), 2);
    // A budget below even one snapshot still keeps the newest.
    engine().undo.undoBudgetKB = 0;
    paint(0, 0, 31, 31, 9);
    ORV_SaveUndoBuffer(1, 0);
    EXPECT_EQ(ORV_GetUndoCount(), 1);
}

TEST_F(UndoFixture, ReduceUndoReleasesRedoThenOldest) {
    paintMask(0, 0, 40, 40, 9);
    ORV_SaveUndoBuffer(0, 1);  // the oldest entry holds only a mask
    for (uint32_t i = 0; i < 4; ++i) {
        paint(0, 0, 40, 40, i);  // 41 x 41: 13 + 3 KB each
        ORV_SaveUndoBuffer(1, 1);
    }
    ORV_ReduceUndo(0);
    EXPECT_EQ(ORV_GetUndoCount(), 5);
    ORV_Undo();
    // Drops the redo entry, passes over the mask-only entry, then releases the two oldest
    // pixel entries (16 KB each) until 20 KB are free.
    const int32_t used = engine().undo.undoUsedKB;
    ORV_ReduceUndo(20);
    EXPECT_EQ(ORV_GetRedoCount(), 0);
    EXPECT_EQ(ORV_GetUndoCount(), 2);
    EXPECT_EQ(engine().undo.undoUsedKB, used - 3 * 16);
    EXPECT_TRUE(engine().undo.entries[0].pixels);
    EXPECT_TRUE(engine().undo.entries[3].mask);
    EXPECT_TRUE(reduceUndo(engine(), 1000000));
    EXPECT_EQ(ORV_GetUndoCount(), 1);
    // Nothing more to release: the layer allocator's retry loop stops.
    EXPECT_FALSE(reduceUndo(engine(), 1000000));
}

// Interleaves dabs, effects, snapshots (pixels and mask), undos, redos and layer switches
// and checks after every step that the layers and the mask equal a model that keeps a
// full copy of each state.
TEST_F(UndoFixture, RandomizedAgainstAModel) {
    struct State {
        std::vector<Pixels> layers;
        Pixels mask;
        bool operator==(const State&) const = default;
    };
    const int layers[] = {1, 2, 3, 5};
    auto capture = [&] {
        State st;
        for (int l : layers) st.layers.push_back(layerPixels(l));
        st.mask = maskValues();
        return st;
    };
    for (int levels : {1, 4, 9}) {
        ORV_SetUndoLevels(levels);
        std::mt19937 rng(1234 + levels);
        std::deque<State> history{capture()};
        size_t cur = 0;
        for (int step = 0; step < 400; ++step) {
            const int op = static_cast<int>(rng() % 10);
            if (op < 4) {  // a change: some dabs or an effect, then a snapshot
                const bool withMask = rng() % 3 == 0;
                const bool effect = rng() % 5 == 0;
                if (effect) {
                    paint(0, 0, W, H, rng(), false);
                } else {
                    for (int d = 1 + static_cast<int>(rng() % 3); d > 0; --d) {
                        const int x = static_cast<int>(rng() % W), y = static_cast<int>(rng() % H);
                        paint(x, y, std::min(W, x + 1 + static_cast<int>(rng() % 12)), std::min(H, y + 1 + static_cast<int>(rng() % 12)), rng());
                    }
                }
                if (withMask) paintMask(static_cast<int>(rng() % 10), 0, W, static_cast<int>(1 + rng() % H), rng(), !effect);
                ORV_SaveUndoBuffer(1, withMask ? 1 : 0);
                history.resize(cur + 1);
                history.push_back(capture());
                ++cur;
                if (history.size() > static_cast<size_t>(levels) + 1) {
                    history.pop_front();
                    --cur;
                }
            } else if (op < 6) {
                ORV_Undo();
                if (cur > 0) --cur;
            } else if (op < 8) {
                ORV_Redo();
                if (cur + 1 < history.size()) ++cur;
            } else {
                ORV_SetLayer(layers[rng() % 4]);
            }
            ASSERT_TRUE(capture() == history[cur]) << "levels " << levels << " step " << step << " op " << op;
            ASSERT_EQ(ORV_CanUndo(), cur > 0 ? 1 : 0);
            ASSERT_EQ(ORV_GetRedoCount(), static_cast<int>(history.size() - 1 - cur));
        }
    }
}

// Real dabs: the painter grows the changed rectangle, the snapshot covers it, and undo and
// redo restore the layer bit for bit.
TEST(UndoWithDabs, StrokeUndoesAndRedoesExactly) {
    engine().brush.settings = BrushSettings{};
    ORV_CreateImage(nullptr, W, H, 32, 0);
    ORV_CreateLayer(1, W, H);
    ORV_CreateLayer(2, W, H);
    ORV_SetLayer(2);
    ORV_SetSize(9);
    ORV_SetAlpha(100);
    ORV_SetTool(1.0f, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, "", "", 0);
    ORV_SetUndoLevels(10);
    ORV_SetUndoMB(64);
    const Pixels before = layerPixels(2);
    for (int x = 12; x <= 30; x += 3) ORV_DrawDabGrit(x, 20, 0xFF00, 0x8000, 0x1000);
    const Pixels after = layerPixels(2);
    ASSERT_NE(before, after);
    ORV_SaveUndoBuffer(1, 0);
    const UndoRecord& e = engine().undo.entries[0];
    EXPECT_GT(e.x0, 0);
    EXPECT_LT(e.x1, W - 1);
    ORV_Undo();
    EXPECT_EQ(layerPixels(2), before);
    ORV_Redo();
    EXPECT_EQ(layerPixels(2), after);
    ORV_SetUndoLevels(0);
    ORV_DeleteImage();
}
