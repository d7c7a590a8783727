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

    // 8-bit pixels in and out of the current layer.
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        if ((i / 4) % w >= w / 2) continue;  // right half stays transparent black
        rgba[i] = 255; rgba[i + 1] = 128; rgba[i + 2] = 0; rgba[i + 3] = 255;
    }
    ORV_LoadRGBA32(rgba.data(), w * 4, 0);
    std::vector<uint8_t> out(rgba.size());
    ORV_GetRGBA32(out.data(), w * 4);
    std::printf("loaded RGBA32 (255,128,0,255) into layer 2, read back (%d,%d,%d,%d); right half transparent: alpha %d\n",
                out[0], out[1], out[2], out[3], out[(w - 1) * 4 + 3]);

    // A run-length row and the whole layer as a compressed stream.
    std::vector<uint8_t> line(static_cast<size_t>(w) * 5);
    const int32_t lineBytes = ORV_GetRGBA32LayerLineRLE(line.data(), 2, 0);
    std::vector<uint8_t> z(static_cast<size_t>(w) * h * 4 + 1024);
    const int32_t zBytes = ORV_GetRGBA32LayerCompressed(z.data(), 0, static_cast<int32_t>(z.size()), 2, 9);
    ORV_Clear(0, 0, 0, 0);
    ORV_LoadRGBA32LayerCompressed(z.data(), 0, zBytes, 2);
    ORV_GetRGBA32(out.data(), w * 4);
    std::printf("row 0 codes to %d bytes; layer compresses to %d bytes and restores %s\n", lineBytes, zBytes,
                out == rgba ? "every pixel" : "wrong pixels");
    std::printf("memory: %d MB physical, %d MB available\n", ORV_GetTotalPhyMemory(), ORV_GetAvailPhyMemory());
    ORV_DeleteImage();
    std::printf("page deleted, %d layers left; last error: \"%s\"\n", ORV_GetLayerCount(), ORV_GetLastError());
    return 0;
}
