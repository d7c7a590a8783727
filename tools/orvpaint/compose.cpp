#include "compose.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "orvcore.h"
#include "player.h"

namespace orvpaint {

bool parseLayerSpec(const std::string& arg, LayerSpec& out, std::string& error) {
    LayerSpec s;
    std::string rest = arg;
    const size_t c1 = rest.find(':');
    if (c1 != std::string::npos) {
        s.path = rest.substr(0, c1);
        rest = rest.substr(c1 + 1);
        const size_t c2 = rest.find(':');
        s.mode = rest.substr(0, c2);
        if (c2 != std::string::npos) {
            const std::string op = rest.substr(c2 + 1);
            char* end = nullptr;
            const long v = std::strtol(op.c_str(), &end, 10);
            if (op.empty() || *end || v < 0 || v > 100) {
                error = "opacity of '" + arg + "' must be an integer 0..100";
                return false;
            }
            s.opacity = static_cast<int>(v);
        }
        if (s.mode.empty()) s.mode = "Normal";
    } else {
        s.path = arg;
    }
    if (s.path.empty()) {
        error = "empty image name in '" + arg + "'";
        return false;
    }
    out = s;
    return true;
}

namespace {

// Renders the page through the engine's view mapping and writes the view.
bool writeView(const std::string& path, int32_t w, int32_t h, double zoom, std::string& error) {
    int32_t vw, vh;
    if (zoom > 1) {
        const int32_t s = static_cast<int32_t>(zoom);
        if (static_cast<int64_t>(w) * s > 20000 || static_cast<int64_t>(h) * s > 20000) {
            error = "the magnified view would exceed 20000 pixels a side";
            return false;
        }
        vw = w * s, vh = h * s;
        ORV_SetScale(s, 1.0f);
    } else {
        const float z = static_cast<float>(1.0 / zoom);
        vw = static_cast<int32_t>(w * (1.0 / z) + 0 - 1.0) + 1;
        vh = static_cast<int32_t>(h * (1.0 / z) + 0 - 1.0) + 1;
        if (vw < 1 || vh < 1) {
            error = "the reduced view would be empty";
            return false;
        }
        ORV_SetScale(1, z);
    }
    ORV_SetViewSize(vw, vh);
    std::vector<uint8_t> bgr(static_cast<size_t>(vw) * vh * 3, 0);
    ORV_Render(bgr.data(), vw * 3, 0, 0, w, h);
    std::vector<uint8_t> rgba(static_cast<size_t>(vw) * vh * 4);
    for (size_t i = 0, n = static_cast<size_t>(vw) * vh; i < n; ++i) {
        rgba[i * 4 + 0] = bgr[i * 3 + 2];
        rgba[i * 4 + 1] = bgr[i * 3 + 1];
        rgba[i * 4 + 2] = bgr[i * 3 + 0];
        rgba[i * 4 + 3] = 255;
    }
    return writeRGBA32(path, rgba.data(), vw, vh, error);
}

}  // namespace

bool composeImages(const ComposeOptions& opt, std::string& error) {
    int32_t w = 0, h = 0;
    for (size_t i = 0; i < opt.layers.size(); ++i) {
        const LayerSpec& l = opt.layers[i];
        if (!ORV_ReadFromFile(l.path.c_str())) {
            error = "cannot read '" + l.path + "' as an image";
            ORV_DeleteImage();
            return false;
        }
        if (i == 0) {
            w = ORV_GetNewRGBAWidth();
            h = ORV_GetNewRGBAHeight();
            ORV_CreateImage(nullptr, w, h, 64, 0);
            if (!ORV_CreateLayer(1, w, h)) {
                error = std::string("cannot make the page: ") + ORV_GetLastError();
                return false;
            }
            ORV_SetLayerOptions(1, 1, 0, 100, "Normal");
        }
        const int32_t slot = static_cast<int32_t>(i) + 2;
        if (!ORV_CreateLayer(slot, w, h)) {
            error = std::string("cannot make a layer: ") + ORV_GetLastError();
            ORV_DeleteImage();
            return false;
        }
        ORV_SetLayerOptions(slot, 1, 0, l.opacity, l.mode.c_str());
        ORV_SetLayer(slot);
        ORV_SetInNewRGBA();
    }
    ORV_DeleteNewRGBA();
    const bool ok = opt.zoom == 1.0 ? writePage(opt.out, w, h, error) : writeView(opt.out, w, h, opt.zoom, error);
    ORV_DeleteImage();
    return ok;
}

}  // namespace orvpaint
