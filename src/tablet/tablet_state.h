// Tablet input: the open context and its packet queue.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "tablet/tablet_driver.h"

namespace orv {

inline constexpr int32_t kTabletPacketSlots = 256;

struct TabletState {
    std::unique_ptr<TabletDriver> driver;  // made by the first tablet initialisation unless installed
    intptr_t context = 0;                  // 0: no tablet open
    void* window = nullptr;
    int32_t originX = 0, originY = 0;      // subtracted from packet positions
    std::array<TabletPacket, kTabletPacketSlots> packets{};
    int32_t packetCount = 0;               // packets of the last fetch, 0..256
    float pressureScale = 0.0f;            // 100 / (maximum - minimum) of the pressure axis
    int32_t pressureMinimum = 0, pressureMaximum = 0;
    uint32_t pressureRange = 0;
    int32_t lastPressure = 100;
};

}  // namespace orv
