#include "media/page_writer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "composite/merge.h"
#include "engine/engine_state.h"
#include "engine/pixel_transfer.h"
#include "media/file_formats.h"

namespace orv {

PageRowSource mergedRowSource(EngineState& s) {
    return [&s](int32_t y, uint16_t* row) { mergeRect(s, row, 0, y, s.page.pageWidth, 1); };
}

bool savePageToFile(EngineState& s, const char* path, const char* extension, int32_t dpi, int channels,
                    const PageRowSource& rows) {
    const FileFormatEntry* e = findFileFormat(extension);
    const PageRowsWriter writer = e ? (channels == 4 ? e->page32 : e->page24) : PageRowsWriter{};
    const int32_t w = s.page.pageWidth, h = s.page.pageHeight;
    if (!writer.start || w <= 0 || h <= 0) return false;
    std::vector<uint16_t> row64;
    std::vector<uint8_t> out;
    try {
        row64.resize(size_t(w) * 4);
        out.resize(size_t(w) * size_t(channels));
    } catch (const std::bad_alloc&) {
        return false;
    }
    FileSink sink(path);
    if (!sink.isOpen()) return false;
    std::unique_ptr<RowEncoder> enc = writer.start(sink, w, h, dpi);
    bool good = enc != nullptr;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(row64.data());
    for (int32_t i = 0; good && i < h; ++i) {
        rows(writer.bottomUp ? h - 1 - i : i, row64.data());
        if (channels == 4)
            rgba64ToRGBA32(out.data(), w * 4, src, w * 8, w, 1);
        else
            rgba64ToRGB24(out.data(), w * 3, src, w * 8, w, 1);
        good = enc->writeRow(out.data());
    }
    good = enc && enc->finish() && good;
    enc.reset();
    return sink.close() && good;
}

}  // namespace orv
