// Writes a small seed file in every format the engine writes into the directory given.
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/codecs/codec.h"
#include "imaging/codecs/metafile.h"

using namespace orv;

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const int w = 5, h = 3;
    std::vector<uint8_t> rgb(w * h * 3), rgba(w * h * 4);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 37);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t(i * 53);
    auto save = [&](const char* name, VectorSink& s) {
        if (FILE* f = std::fopen((dir + "/" + name).c_str(), "wb")) {
            std::fwrite(s.bytes.data(), 1, s.bytes.size(), f);
            std::fclose(f);
        }
    };
    struct Rows {
        const char* name;
        StartRowsFn start;
        int channels;
        bool bottomUp;
    } rows[] = {{"seed.bmp", startBmpRows, 3, true},  {"seed.png", startPngRows, 4, false},
                {"seed.jpg", startJpegRows, 3, false}, {"seed.tga", startTgaRows, 4, false},
                {"seed.tif", startTiffRows, 4, false}, {"seed3.tif", startTiffRows, 3, false}};
    for (const Rows& r : rows) {
        VectorSink s;
        EncodeParams p;
        p.width = w, p.height = h, p.channels = r.channels, p.res = Resolution::dpi(300);
        encodeWithRows(r.start, r.bottomUp, r.channels == 3 ? rgb.data() : rgba.data(), p, s);
        save(r.name, s);
    }
    VectorSink gif, pcx, psd, emf;
    encodeGif24(rgb.data(), w, h, gif);
    encodePcx24(rgb.data(), w, h, pcx);
    encodePsd24(rgb.data(), w, h, psd);
    encodeEmf24(rgb.data(), w, h, emf);
    save("seed.gif", gif);
    save("seed.pcx", pcx);
    save("seed.psd", psd);
    save("seed.emf", emf);
    return 0;
}
