// A small host that drives the engine through its exported interface only: it makes a
// page and layers, writes and reads pixels, and prints what it did.
#include <cstdio>
#include <vector>

#include "orvcore.h"

int main() {
    const int w = 64, h = 48;
    ORV_CreateImage(nullptr, w, h, 64, 0);
    ORV_CreateLayer(1, w, h);
    ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
    ORV_CreateLayer(2, w, h);
    ORV_SetLayerOptions(2, 1, 0, 50, "Multiply");
    ORV_SetLayer(2);
    std::printf("page %dx%d, %d layers, current layer %d\n", w, h, ORV_GetLayerCount(), ORV_GetLayerNum());

    std::vector<uint16_t> px(static_cast<size_t>(w) * h * 4, 0);
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 30; ++x) {
            uint16_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = 0xFFFF; p[3] = 0xFFFF;
        }
    ORV_SetLayerData(px.data(), 2);
    int32_t l, t, r, b;
    ORV_FindDataExtentsLayer(2, &l, &t, &r, &b);
    std::printf("layer 2 painted: extents (%d,%d)-(%d,%d)\n", l, t, r, b);

    std::vector<uint16_t> back(px.size());
    ORV_GetLayerData(back.data(), 1);
    std::printf("background pixel (0,0) = %04x %04x %04x %04x\n", back[0], back[1], back[2], back[3]);
    ORV_DeleteImage();
    std::printf("page deleted, %d layers left; last error: \"%s\"\n", ORV_GetLayerCount(), ORV_GetLastError());
    return 0;
}
