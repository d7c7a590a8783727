// The tablet driver the engine reads pens through: a device query for the pressure axis, a
// context that queues packets, and the packet fetch. The system backend maps a Linux pen
// device onto it; tests install a fake that they feed with packets.
#pragma once
#include <cstdint>
#include <memory>

namespace orv {

// One queued pen sample, 16 bytes: status, position in output pixels, raw normal pressure.
struct TabletPacket {
    uint32_t status = 0;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t pressure = 0;
};
static_assert(sizeof(TabletPacket) == 16);

inline constexpr uint32_t kPacketOutOfProximity = 0x01;  // the pen has left the tablet's range
inline constexpr uint32_t kPacketInvert = 0x10;          // the eraser end is towards the tablet

struct PressureAxis {
    int32_t minimum = 0;
    int32_t maximum = 0;
};

// What the engine asks of a context: positions scaled to outWidth x outHeight pixels, y
// growing downward. A side of 0 leaves that axis in device units from its minimum.
struct ContextRequest {
    const char* name = nullptr;
    int32_t outWidth = 0;
    int32_t outHeight = 0;
};

class TabletDriver {
public:
    virtual ~TabletDriver() = default;
    // The pen device's normal-pressure axis; 0 when there is no device, else nonzero.
    virtual int32_t queryPressureAxis(PressureAxis& axis) = 0;
    // Opens a context for the window; 0 when refused, else a nonzero handle.
    virtual intptr_t open(void* window, const ContextRequest& request) = 0;
    // Sets how many packets the context queues; nonzero on success.
    virtual int32_t setQueueSize(intptr_t context, int32_t packets) = 0;
    virtual void close(intptr_t context) = 0;
    // Removes up to max queued packets, oldest first, copying them into out unless it is
    // null. Returns how many were removed.
    virtual int32_t getPackets(intptr_t context, int32_t max, TabletPacket* out) = 0;
    // The screen position of the window's client point (0, 0); false when unknown.
    virtual bool windowOrigin(void* window, int32_t& x, int32_t& y) { return false; }
};

// The backend for this system's pen devices. It touches no device until queried.
std::unique_ptr<TabletDriver> makeSystemTabletDriver();

}  // namespace orv
