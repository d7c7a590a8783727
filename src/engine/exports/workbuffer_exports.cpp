// Work-buffer entry points: allocate, refresh, copy into and release the 8-bit page copies.
#include "effects/work_buffers.h"
#include "engine/exports/guard.h"

using namespace orv;

extern "C" {

ORV_API void ORV_CALL ORV_IPLAllocSrcBuffer32(void) {
    guarded(err::IPLAllocSrcBuffer32, [&] { allocSrcBuffer32(engine()); });
}
ORV_API void ORV_CALL ORV_IPLFreeSrcBuffer32(void) {
    guarded(err::IPLFreeSrcBuffer32, [&] { freeSrcBuffer32(engine()); });
}
ORV_API void ORV_CALL ORV_IPLAllocDstBuffer32(void) {
    guarded(err::IPLAllocDstBuffer32, [&] { allocDstBuffer32(engine()); });
}
ORV_API void ORV_CALL ORV_IPLFreeDstBuffer32(void) {
    guarded(err::IPLFreeDstBuffer32, [&] { freeDstBuffer32(engine()); });
}
ORV_API void ORV_CALL ORV_IPLSetSrcBuffer32(const void* pixels) { setSrcBuffer32(engine(), pixels); }
ORV_API void ORV_CALL ORV_IPLSetDstBuffer32(const void* pixels) { setDstBuffer32(engine(), pixels); }
ORV_API void* ORV_CALL ORV_IPLUpdateSrcBuffer32(void) { return updateSrcBuffer32(engine()); }
ORV_API void ORV_CALL ORV_IPLAllocSrcBuffer24(void) {
    guarded(err::IPLAllocSrcBuffer24, [&] { allocSrcBuffer24(engine()); });
}
ORV_API void ORV_CALL ORV_IPLFreeSrcBuffer24(void) {
    guarded(err::IPLFreeSrcBuffer24, [&] { freeSrcBuffer24(engine()); });
}
ORV_API void ORV_CALL ORV_IPLAllocDstBuffer24(void) {
    guarded(err::IPLAllocDstBuffer24, [&] { allocDstBuffer24(engine()); });
}
ORV_API void ORV_CALL ORV_IPLFreeDstBuffer24(void) {
    guarded(err::IPLFreeDstBuffer24, [&] { freeDstBuffer24(engine()); });
}

}  // extern "C"
