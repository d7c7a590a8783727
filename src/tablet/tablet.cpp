#include "tablet/tablet.h"

#include <cmath>

#include "platform/screen_metrics.h"

namespace orv {
namespace {

constexpr const char kContextName[] = "orvcore tablet context";
constexpr int32_t kDiscardOnReset = 1000;

const TabletPacket* packetAt(const TabletState& t, int32_t index) {
    if (!t.context || index < 0 || index >= t.packetCount) return nullptr;
    return &t.packets[static_cast<size_t>(index)];
}

// trunc(raw x pressureScale), the raw value read as unsigned; saturates instead of
// overflowing for a scale that a degenerate axis made huge.
int32_t scaledPressure(const TabletState& t, const TabletPacket& p) {
    const double v = static_cast<double>(p.pressure) * static_cast<double>(t.pressureScale);
    if (!(v < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(v);
}

}  // namespace

int32_t initTablet(TabletState& t, void* window) {
    t.window = window;
    if (!t.driver) t.driver = makeSystemTabletDriver();
    closeTablet(t);  // a second initialisation must not leave the first context open

    PressureAxis axis;
    const int32_t query = t.driver->queryPressureAxis(axis);
    if (query == 0) return 0;
    t.pressureMinimum = axis.minimum;
    t.pressureMaximum = axis.maximum;
    t.pressureRange = static_cast<uint32_t>(axis.maximum) - static_cast<uint32_t>(axis.minimum);
    // 100 / range as a 32-bit float. The minimum is not subtracted from raw values. An axis
    // with a single level (range 0) would divide by zero; it reads as the full range instead.
    t.pressureScale = static_cast<float>(100.0 / (t.pressureRange ? static_cast<double>(t.pressureRange) : 1.0));

    const ScreenSize screen = screenSize();
    const ContextRequest request{kContextName, screen.width, screen.height};
    t.context = t.driver->open(window, request);
    if (t.context == 0) return query;
    return t.driver->setQueueSize(t.context, kTabletPacketSlots);
}

void setTabletOrigin(TabletState& t) {
    if (!t.context) return;
    int32_t x = 0, y = 0;
    if (t.driver->windowOrigin(t.window, x, y)) {
        t.originX = x;
        t.originY = y;
    }
}

void closeTablet(TabletState& t) {
    if (!t.context) return;
    t.driver->close(t.context);
    t.context = 0;
}

void resetTabletPressure(TabletState& t) {
    t.lastPressure = 10;
    if (t.context) t.driver->getPackets(t.context, kDiscardOnReset, nullptr);
}

int32_t readTabletPackets(TabletState& t) {
    int32_t n = 0;
    if (t.context) n = t.driver->getPackets(t.context, kTabletPacketSlots, t.packets.data());
    t.packetCount = n < 0 ? 0 : (n > kTabletPacketSlots ? kTabletPacketSlots : n);
    return t.packetCount;
}

int32_t readTabletPressure(TabletState& t, int32_t index) {
    if (!t.context) return t.lastPressure;
    if (const TabletPacket* p = packetAt(t, index)) {
        int32_t v = scaledPressure(t, *p);
        if (v == 0) v = 1;  // a pen touching the tablet never reports 0
        t.lastPressure = v;
        return v;
    }
    const int32_t v = t.lastPressure;
    t.lastPressure = v + 25 > 100 ? 100 : v + 25;
    return v;
}

int32_t readRawTabletPressure(const TabletState& t, int32_t index) {
    const TabletPacket* p = packetAt(t, index);
    return p ? scaledPressure(t, *p) : 0;
}

int32_t isPacketInvert(const TabletState& t, int32_t index) {
    const TabletPacket* p = packetAt(t, index);
    return p && (p->status & kPacketInvert) ? 1 : 0;
}

uint32_t packetStatus(const TabletState& t, int32_t index) {
    const TabletPacket* p = packetAt(t, index);
    return p ? p->status : 0;
}

int32_t readTabletX(const TabletState& t, int32_t index) {
    const TabletPacket* p = packetAt(t, index);
    return p ? static_cast<int32_t>(static_cast<uint32_t>(p->x) - static_cast<uint32_t>(t.originX)) : 0;
}

int32_t readTabletY(const TabletState& t, int32_t index) {
    const TabletPacket* p = packetAt(t, index);
    return p ? static_cast<int32_t>(static_cast<uint32_t>(p->y) - static_cast<uint32_t>(t.originY)) : 0;
}

}  // namespace orv
