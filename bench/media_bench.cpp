// Writing a 4096 x 4096 page to PNG and JPEG through the page row writers (one flattened
// row at a time, converted and fed to the encoder) against writing the same pixels with the
// libraries directly from one whole RGB buffer, with the same settings. Each case runs both
// ways alternately in one run and reports `x_direct`: the row writer's fastest iteration over
// the direct write's fastest. Files go to the temporary directory.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "media/page_writer.h"
#include "orvcore.h"

using namespace orv;

namespace {

constexpr int kPage = 4096;

// The page's pixels as one RGB buffer, the direct writers' input.
std::vector<uint8_t>& pageRgb() {
    static std::vector<uint8_t> b;
    return b;
}

void setUpPage() {
    static bool made = false;
    if (made) return;
    made = true;
    ORV_CreateImage(nullptr, kPage, kPage, 16, 0);
    ORV_CreateLayer(1, kPage, kPage);
    ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
    // A painted-looking page: runs of 1..32 equal pixels over a smooth gradient.
    std::vector<uint8_t> rgba(size_t(kPage) * kPage * 4);
    std::mt19937 rng(1);
    for (size_t i = 0; i < rgba.size();) {
        const size_t run = 1 + rng() % 32, p = i / 4;
        const uint8_t r = uint8_t(p % kPage / 16 + rng() % 8), g = uint8_t(p / kPage / 16), b = uint8_t(rng() % 64);
        for (size_t k = 0; k < run && i < rgba.size(); ++k, i += 4) rgba[i] = r, rgba[i + 1] = g, rgba[i + 2] = b, rgba[i + 3] = 255;
    }
    ORV_LoadRGBA32Layer(rgba.data(), kPage * 4, 1, 0, 0, kPage, kPage, 0);
    auto& rgb = pageRgb();
    rgb.resize(size_t(kPage) * kPage * 3);
    ORV_GetRGB24Layer(rgb.data(), kPage * 3, 1);
}

std::string tmpPath(const std::string& name) { return std::string(P_tmpdir) + "/orv_media_bench_" + name; }

void directPng(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_init_io(png, f);
    png_set_IHDR(png, info, kPage, kPage, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, 2834, 2834, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    std::vector<png_bytep> rows(kPage);
    for (int y = 0; y < kPage; ++y) rows[size_t(y)] = pageRgb().data() + size_t(y) * kPage * 3;
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

void directJpeg(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = c.image_height = kPage;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 97, TRUE);
    for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    c.density_unit = 1;
    c.X_density = c.Y_density = 72;
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPROW> rows(kPage);
    for (int y = 0; y < kPage; ++y) rows[size_t(y)] = pageRgb().data() + size_t(y) * kPage * 3;
    while (c.next_scanline < c.image_height) jpeg_write_scanlines(&c, rows.data() + c.next_scanline, kPage - c.next_scanline);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
}

struct Case {
    const char* extension;
    void (*direct)(const std::string&);
};

double seconds(auto&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_PageWrite(benchmark::State& st, Case c) {
    setUpPage();
    EngineState& s = engine();
    const std::string rowsPath = tmpPath(std::string("rows") + c.extension), directPath = tmpPath(std::string("direct") + c.extension);
    double bestRows = 1e30, bestDirect = 1e30;
    for (auto _ : st) {
        const double r = seconds([&] { savePageToFile(s, rowsPath.c_str(), c.extension, 72, 3, mergedRowSource(s)); });
        const double d = seconds([&] { c.direct(directPath); });
        st.SetIterationTime(r);
        bestRows = std::min(bestRows, r);
        bestDirect = std::min(bestDirect, d);
    }
    st.counters["rows_ms"] = bestRows * 1e3;
    st.counters["direct_ms"] = bestDirect * 1e3;
    st.counters["x_direct"] = bestRows / bestDirect;
    std::remove(rowsPath.c_str());
    std::remove(directPath.c_str());
}

}  // namespace

BENCHMARK_CAPTURE(BM_PageWrite, Png, Case{".png", directPng})->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageWrite, Jpeg, Case{".jpg", directJpeg})->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
