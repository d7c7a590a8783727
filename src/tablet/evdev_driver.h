// The Linux pen backend: a kernel input device (/dev/input/event*) that reports absolute
// position, pressure and pen tools, mapped onto the tablet packet queue.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>

#include "tablet/tablet_driver.h"

namespace orv {

struct EvdevAxes {
    PressureAxis x, y, pressure;  // minimum and maximum of each absolute axis
};

// Turns a stream of input events into packets: each report (SYN_REPORT) while a pen tool is
// in proximity appends one packet with the position scaled to the output size, the raw
// pressure, and the eraser end as kPacketInvert; the report that takes the tool out of
// proximity appends one packet marked kPacketOutOfProximity. After the kernel dropped events
// (SYN_DROPPED) everything up to the next report is ignored and resyncNeeded() is raised so
// the caller can reload the device's current state. The queue keeps the newest packets.
class EvdevPacketAssembler {
public:
    explicit EvdevPacketAssembler(const EvdevAxes& axes) : axes_(axes) {}
    // Output size in pixels; a side of 0 keeps device units counted from the axis minimum.
    void setOutput(int32_t width, int32_t height) { outWidth_ = width, outHeight_ = height; }
    void setQueueLimit(size_t packets) { limit_ = packets ? packets : 1; }
    void feed(uint16_t type, uint16_t code, int32_t value);
    // Removes up to max packets, oldest first, into out unless it is null.
    int32_t take(int32_t max, TabletPacket* out);
    void clear() { queue_.clear(); }
    size_t queued() const { return queue_.size(); }
    bool resyncNeeded() { return std::exchange(resync_, false); }
    // The device's current state after a resync.
    void setState(int32_t x, int32_t y, int32_t pressure, bool pen, bool eraser);

private:
    int32_t scale(int32_t raw, const PressureAxis& axis, int32_t out) const;
    void report();

    EvdevAxes axes_;
    int32_t outWidth_ = 0, outHeight_ = 0;
    size_t limit_ = 256;
    int32_t x_ = 0, y_ = 0, pressure_ = 0;
    bool pen_ = false, eraser_ = false, wasInProximity_ = false;
    bool dropping_ = false, resync_ = false;
    std::deque<TabletPacket> queue_;
};

// A driver over an already opened event device (tests pass the read end of a pipe). The
// descriptor is made non-blocking and closed with the driver.
std::unique_ptr<TabletDriver> makeEvdevTabletDriver(int fd, const EvdevAxes& axes);

}  // namespace orv
