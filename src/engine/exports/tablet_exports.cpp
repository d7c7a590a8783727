// Tablet entry points. Without a tablet each returns its neutral value and reports nothing.
#include "engine/exports/guard.h"
#include "tablet/tablet.h"

using namespace orv;

extern "C" {

ORV_API int32_t ORV_CALL ORV_InitTablet(void* window) {
    return guarded(nullptr, 0, [&] { return initTablet(engine().tablet, window); });
}
ORV_API void ORV_CALL ORV_SetTabletOrigin(void) {
    guarded(nullptr, [&] { setTabletOrigin(engine().tablet); });
}
ORV_API void ORV_CALL ORV_CloseTablet(void) {
    guarded(nullptr, [&] { closeTablet(engine().tablet); });
}
ORV_API void ORV_CALL ORV_ResetTabletPressure(void) {
    guarded(nullptr, [&] { resetTabletPressure(engine().tablet); });
}
ORV_API int32_t ORV_CALL ORV_ReadTabletPackets(void) {
    return guarded(nullptr, 0, [&] { return readTabletPackets(engine().tablet); });
}
ORV_API int32_t ORV_CALL ORV_ReadTabletPressure(int32_t index) { return readTabletPressure(engine().tablet, index); }
ORV_API int32_t ORV_CALL ORV_ReadRawTabletPressure(int32_t index) { return readRawTabletPressure(engine().tablet, index); }
ORV_API int32_t ORV_CALL ORV_IsPacketInvert(int32_t index) { return isPacketInvert(engine().tablet, index); }
ORV_API int32_t ORV_CALL ORV_PacketStatus(int32_t index) {
    return static_cast<int32_t>(packetStatus(engine().tablet, index));
}
ORV_API int32_t ORV_CALL ORV_ReadTabletX(int32_t index) { return readTabletX(engine().tablet, index); }
ORV_API int32_t ORV_CALL ORV_ReadTabletY(int32_t index) { return readTabletY(engine().tablet, index); }

}  // extern "C"
