// The undo table: recording snapshots, the undo/redo exchange, discarding and releasing.
#include "undo/undo.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "engine/engine_state.h"
#include "engine/error_texts.h"
#include "engine/layer_table.h"
#include "engine/page_access.h"
#include "imaging/rect_copy.h"

namespace orv {

namespace {

// An inclusive rectangle inside the page, with the page's row length in pixels.
struct PageRect {
    int32_t x0, y0, x1, y1;
    size_t pageWidth;
    size_t w() const { return static_cast<size_t>(x1 - x0 + 1); }
    size_t h() const { return static_cast<size_t>(y1 - y0 + 1); }
    size_t offset(int channels) const { return (static_cast<size_t>(y0) * pageWidth + x0) * channels; }
};

int32_t kbFor(size_t pixels, int bytesPerPixel) {
    return static_cast<int32_t>(std::min<unsigned long long>(static_cast<unsigned long long>(pixels) * bytesPerPixel / 1024, INT32_MAX));
}
void addKB(UndoState& u, int32_t kb) { u.undoUsedKB = static_cast<int32_t>(std::min<long long>(static_cast<long long>(u.undoUsedKB) + kb, INT32_MAX)); }
void subtractKB(UndoState& u, int32_t kb) { u.undoUsedKB = std::max(0, u.undoUsedKB - kb); }

size_t entryArea(const UndoRecord& e) {
    return static_cast<size_t>(e.x1 - e.x0 + 1) * static_cast<size_t>(e.y1 - e.y0 + 1);
}

void releasePixels(UndoState& u, UndoRecord& e) {
    if (e.pixels) subtractKB(u, kbFor(entryArea(e), 8));
    e.pixels.release();
}
void releaseMask(UndoState& u, UndoRecord& e) {
    if (e.mask) subtractKB(u, kbFor(entryArea(e), 2));
    e.mask.release();
}
// Releases both snapshots with accounting; the rectangle becomes zero.
void releaseEntry(UndoState& u, UndoRecord& e) {
    releasePixels(u, e);
    releaseMask(u, e);
    e = UndoRecord{};
}

// A page-addressed buffer with `channels` values per pixel, or null when it does not hold
// the whole page.
uint16_t* pageData(Buffer<uint16_t>& b, const PageGeometry& g, int channels) {
    const size_t n = g.pixelCount() * channels;
    return n && b.size() >= n ? b.data() : nullptr;
}
// The layer's pixels when it holds exactly a page (a layer left at another size after a
// re-size is neither recorded nor restored), else null.
uint16_t* layerPageData(LayerRecord* l, const PageGeometry& g) {
    if (l && (l->width != g.pageWidth || l->height != g.pageHeight)) return nullptr;
    return pageView(g, l).pixels;
}
uint16_t* currentLayerData(EngineState& s) { return layerPageData(s.layers.currentLayer, s.page); }

// Page rectangle -> packed snapshot, and page -> page at the same place.
void pageToSnapshot(uint16_t* snap, const uint16_t* page, const PageRect& r, int ch) {
    copyRect(snap, r.w() * ch, page + r.offset(ch), r.pageWidth * ch, r.w() * ch, r.h());
}
void pageToPage(uint16_t* dst, const uint16_t* src, const PageRect& r, int ch) {
    copyRect(dst + r.offset(ch), r.pageWidth * ch, src + r.offset(ch), r.pageWidth * ch, r.w() * ch, r.h());
}

// The exchange that is both undo and redo: the snapshot goes onto the page, the back
// buffer's pixels go into the snapshot, and the page's new pixels into the back buffer.
// The three buffers are distinct, so one pass per row does all three copies.
void exchange(uint16_t* page, uint16_t* back, uint16_t* snap, const PageRect& r, int ch) {
    const size_t row = r.w() * ch, stride = r.pageWidth * ch;
    uint16_t* p = page + r.offset(ch);
    uint16_t* b = back + r.offset(ch);
    for (size_t y = 0; y < r.h(); ++y, p += stride, b += stride, snap += row) {
        uint16_t* __restrict pr = p;
        uint16_t* __restrict br = b;
        uint16_t* __restrict sr = snap;
        for (size_t i = 0; i < row; ++i) {
            const uint16_t fromSnap = sr[i];
            sr[i] = br[i];
            pr[i] = fromSnap;
            br[i] = fromSnap;
        }
    }
}

int tableEnd(const UndoState& u) { return std::clamp(u.undoLevels, 0, kUndoTableSize); }

// Moves entries [from, end) of the table `by` places toward entry 0, clearing the places
// they leave.
void shiftDown(UndoState& u, int from, int end, int by) {
    for (int i = from; i < end; ++i) {
        u.entries[i - by] = std::move(u.entries[i]);
        u.layerOfUndo[i - by] = u.layerOfUndo[i];
        u.entries[i] = UndoRecord{};
        u.layerOfUndo[i] = 0;
    }
}

// Releases the redo entries and moves the rest to the front. Returns true when it
// released anything.
bool discardRedo(UndoState& u) {
    return failAs(err::RemoveAbandonedUndo, [&] {
        const int pos = std::min(u.undoPosition, kUndoTableSize);
        if (pos <= 0) return false;
        for (int i = 0; i < pos; ++i) releaseEntry(u, u.entries[i]);
        shiftDown(u, pos, tableEnd(u), pos);
        u.undoPosition = 0;
        return true;
    });
}

// Removes entry k from the table, moving the older ones up to close the gap.
void dropEntry(UndoState& u, int k) {
    releaseEntry(u, u.entries[k]);
    shiftDown(u, k + 1, kUndoTableSize, 1);
    if (k < u.undoPosition) --u.undoPosition;
}

bool rectInsidePage(const UndoRecord& e, const PageGeometry& g) {
    return e.x0 >= 0 && e.y0 >= 0 && e.x0 <= e.x1 && e.y0 <= e.y1 && e.x1 < g.pageWidth && e.y1 < g.pageHeight;
}

// Applies entry k (the steps shared by undo and redo), switching to the entry's layer
// first. A pixel snapshot whose layer no longer holds a page is released rather than
// applied to whatever layer is current. Returns false when nothing of the entry is left to
// apply; the caller then drops it.
bool applyEntry(EngineState& s, int k) {
    UndoState& u = s.undo;
    UndoRecord& e = u.entries[k];
    if (!rectInsidePage(e, s.page)) return false;
    const int layer = u.layerOfUndo[k];
    if (layer != s.layers.currentLayerNumber) setLayer(s, layer);
    uint16_t* page = s.layers.currentLayerNumber == layer ? currentLayerData(s) : nullptr;
    uint16_t* back = pageData(u.backPixels, s.page, 4);
    uint16_t* mask = pageData(s.mask.maskBuffer, s.page, 1);
    uint16_t* backMask = pageData(u.backMask, s.page, 1);
    // Parts that have nowhere to go are released before anything is exchanged.
    if (!page || !back) releasePixels(u, e);
    if (!mask || !backMask) releaseMask(u, e);
    if (!e.inUse()) return false;
    const PageRect r{e.x0, e.y0, e.x1, e.y1, static_cast<size_t>(s.page.pageWidth)};
    if (e.pixels) exchange(page, back, e.pixels.data(), r, 4);
    if (e.mask) exchange(mask, backMask, e.mask.data(), r, 1);
    return true;
}

// Buffers of released entries kept for the snapshot being made: a steady history releases
// and makes snapshots of the same size, and reusing them spares fresh (unmapped) memory.
struct Spares {
    size_t pixelElems, maskElems;
    Buffer<uint16_t> pixels, mask;

    // Releases entry e with accounting, keeping a buffer of exactly the wanted size.
    void release(UndoState& u, UndoRecord& e) {
        if (!pixels && e.pixels && e.pixels.size() == pixelElems) {
            subtractKB(u, kbFor(entryArea(e), 8));
            pixels = std::move(e.pixels);
        }
        if (!mask && e.mask && e.mask.size() == maskElems) {
            subtractKB(u, kbFor(entryArea(e), 2));
            mask = std::move(e.mask);
        }
        releaseEntry(u, e);
    }
};

// Makes one snapshot of `elems` values (a kept buffer of that size, or a new one), adding
// `kb` to the accounting. False when memory is short.
bool makeSnapshot(UndoState& u, Buffer<uint16_t>& b, size_t elems, int32_t kb, Buffer<uint16_t>& spare) {
    if (spare && spare.size() == elems) {
        b = std::move(spare);
        addKB(u, kb);
        return true;
    }
    try {
        if (u.beforeSnapshotAllocation) u.beforeSnapshotAllocation(elems * sizeof(uint16_t));
        b.allocate(elems);
    } catch (const std::bad_alloc&) {
        b.release();
        return false;
    }
    addKB(u, kb);
    return true;
}

// The changed rectangle clipped to the page; the whole page when it is empty or only one
// pixel wide or high.
PageRect snapshotRect(const UndoState& u, const PageGeometry& g) {
    DirtyRect d = u.dirtyRect;
    d.x0 = std::max(d.x0, 0);
    d.y0 = std::max(d.y0, 0);
    d.x1 = std::min(d.x1, g.pageWidth - 1);
    d.y1 = std::min(d.y1, g.pageHeight - 1);
    if (d.x0 >= d.x1 || d.y0 >= d.y1) d = {0, 0, g.pageWidth - 1, g.pageHeight - 1};
    return {d.x0, d.y0, d.x1, d.y1, static_cast<size_t>(std::max(g.pageWidth, 0))};
}

}  // namespace

void releaseUndoEntries(EngineState& s) {
    for (auto& e : s.undo.entries) e = UndoRecord{};
}

void saveUndoBackBuffer(EngineState& s, int layer) {
    UndoState& u = s.undo;
    if (u.paused) return;
    uint16_t* src = layerPageData(s.layers.presentLayer(layer), s.page);
    uint16_t* dst = pageData(u.backPixels, s.page, 4);
    if (src && dst) std::memcpy(dst, src, s.page.pixelCount() * 8);
    uint16_t* mask = pageData(s.mask.maskBuffer, s.page, 1);
    uint16_t* backMask = pageData(u.backMask, s.page, 1);
    if (mask && backMask) std::memcpy(backMask, mask, s.page.pixelCount() * 2);
}

void clearUndo(EngineState& s) {
    UndoState& u = s.undo;
    u.dirtyRect.setEmpty(s.page.pageWidth, s.page.pageHeight);
    u.paused = false;
    u.undoPosition = 0;
    releaseUndoEntries(s);
    u.layerOfUndo.fill(0);
    u.undoUsedKB = kbFor(s.page.pixelCount(), 10);
    saveUndoBackBuffer(s, s.layers.currentLayer ? s.layers.currentLayerNumber : -1);
    recomputeUndoBudget(u, s.page);
}

void setUndoLevels(EngineState& s, int32_t n) {
    clearUndo(s);
    s.undo.undoLevels = std::clamp(n, 0, kUndoTableSize);
}

void saveUndoBuffer(EngineState& s, bool savePixels, bool saveMask) {
    UndoState& u = s.undo;
    if (u.paused) return;
    const PageGeometry& g = s.page;
    discardRedo(u);
    const PageRect r = snapshotRect(u, g);
    if (r.x1 < r.x0 || r.y1 < r.y0) return;

    uint16_t* layer = currentLayerData(s);
    uint16_t* backPixels = pageData(u.backPixels, g, 4);
    uint16_t* mask = pageData(s.mask.maskBuffer, g, 1);
    uint16_t* backMask = pageData(u.backMask, g, 1);
    // Only what exists can be recorded; with nothing to record no entry is pushed (an
    // empty entry at the front would hide every older one from undo).
    savePixels = savePixels && layer && backPixels;
    saveMask = saveMask && mask && backMask;
    if (!savePixels && !saveMask) {
        u.dirtyRect.setEmpty(g.pageWidth, g.pageHeight);
        return;
    }

    recomputeUndoBudget(u, g);
    const size_t area = r.w() * r.h();
    const int32_t needKB = kbFor(area, 10);
    UndoRecord fresh;
    Spares spares{area * 4, area, {}, {}};
    auto complete = [&] { return (!savePixels || fresh.pixels) && (!saveMask || fresh.mask); };
    // Make room from the oldest place; the snapshots are made once they fit the budget, or
    // in any case when only entry 0 is left to release.
    for (int n = tableEnd(u) - 1; n >= 0; --n) {
        spares.release(u, u.entries[n]);
        if (static_cast<long long>(u.undoUsedKB) + needKB < u.undoBudgetKB || n == 0) {
            if (savePixels && !fresh.pixels) makeSnapshot(u, fresh.pixels, area * 4, kbFor(area, 8), spares.pixels);
            if (saveMask && !fresh.mask) makeSnapshot(u, fresh.mask, area, kbFor(area, 2), spares.mask);
        }
        if (complete()) break;
    }
    fresh.x0 = r.x0, fresh.y0 = r.y0, fresh.x1 = r.x1, fresh.y1 = r.y1;

    if (!complete()) {
        // Not undoable, but the back buffers follow the change so that later snapshots
        // hold the right "before" pixels.
        releaseEntry(u, fresh);
        if (savePixels) pageToPage(backPixels, layer, r, 4);
        if (saveMask) pageToPage(backMask, mask, r, 1);
        u.dirtyRect.setEmpty(g.pageWidth, g.pageHeight);
        return;
    }

    for (int i = tableEnd(u) - 1; i > 0; --i) {
        u.entries[i] = std::move(u.entries[i - 1]);
        u.layerOfUndo[i] = u.layerOfUndo[i - 1];
    }
    if (savePixels) {
        pageToSnapshot(fresh.pixels.data(), backPixels, r, 4);
        pageToPage(backPixels, layer, r, 4);
    }
    if (saveMask) {
        pageToSnapshot(fresh.mask.data(), backMask, r, 1);
        pageToPage(backMask, mask, r, 1);
    }
    u.entries[0] = std::move(fresh);
    u.layerOfUndo[0] = s.layers.currentLayerNumber;
    u.dirtyRect.setEmpty(g.pageWidth, g.pageHeight);
}

void undo(EngineState& s) {
    UndoState& u = s.undo;
    while (!u.paused && canUndo(u)) {
        if (applyEntry(s, u.undoPosition)) {
            ++u.undoPosition;
            return;
        }
        dropEntry(u, u.undoPosition);
    }
}

void redo(EngineState& s) {
    UndoState& u = s.undo;
    while (!u.paused && u.undoPosition > 0) {
        if (applyEntry(s, u.undoPosition - 1)) {
            --u.undoPosition;
            return;
        }
        dropEntry(u, u.undoPosition - 1);
    }
}

bool reduceUndo(EngineState& s, int32_t kb) {
    UndoState& u = s.undo;
    bool released = discardRedo(u);
    long long releasedKB = 0;
    for (int n = tableEnd(u) - 1; n >= 0; --n) {
        UndoRecord& e = u.entries[n];
        if (!e.pixels) continue;  // mask-only entries are passed over
        if (releasedKB >= kb) break;
        releasedKB += kbFor(entryArea(e), 8) + (e.mask ? kbFor(entryArea(e), 2) : 0);
        releaseEntry(u, e);
        released = true;
    }
    return released;
}

}  // namespace orv
