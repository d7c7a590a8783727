// Pen input for the host: open a context, fetch the queued packets, read each packet's
// position, pressure (scaled to 0..100) and status by index. Without a tablet every reader
// returns a neutral value (0, or the last pressure), so a host can call them with a mouse.
#pragma once
#include <cstdint>

#include "tablet/tablet_state.h"

namespace orv {

// Reads the pressure axis and opens the context "orvcore tablet context" with a 256-packet
// queue. Returns 0 when the device query fails; otherwise the queue-size result when a
// context was opened, or the (nonzero) query result when the open was refused. A context
// that is already open is closed first.
int32_t initTablet(TabletState& t, void* window);
void setTabletOrigin(TabletState& t);
void closeTablet(TabletState& t);
// lastPressure = 10; an open context drops up to 1000 queued packets.
void resetTabletPressure(TabletState& t);
// Fetches up to 256 packets; returns the count (0 without a context).
int32_t readTabletPackets(TabletState& t);

// trunc(raw x pressureScale), at least 1, remembered as lastPressure. For an index with no
// packet: the remembered value, which then climbs by 25 towards 100 for the next call.
// Without a context: lastPressure unchanged.
int32_t readTabletPressure(TabletState& t, int32_t index);
// trunc(raw x pressureScale) without touching lastPressure; 0 for no packet or no context.
int32_t readRawTabletPressure(const TabletState& t, int32_t index);
int32_t isPacketInvert(const TabletState& t, int32_t index);  // exactly 1 or 0
uint32_t packetStatus(const TabletState& t, int32_t index);
int32_t readTabletX(const TabletState& t, int32_t index);
int32_t readTabletY(const TabletState& t, int32_t index);

}  // namespace orv
