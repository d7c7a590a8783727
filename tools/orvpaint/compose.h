// "compose": stacking image files as layers with blend modes and opacities.
#pragma once
#include <string>
#include <vector>

namespace orvpaint {

struct LayerSpec {
    std::string path;
    std::string mode = "Normal";
    int opacity = 100;
};

struct ComposeOptions {
    std::string out;
    double zoom = 1.0;  // 1: page at one to one; integer > 1: magnified view; below 1: reduced view
    std::vector<LayerSpec> layers;
};

// IMAGE[:MODE[:OPACITY]]; the opacity is an integer percent 0..100.
bool parseLayerSpec(const std::string& arg, LayerSpec& out, std::string& error);
bool composeImages(const ComposeOptions& opt, std::string& error);

}  // namespace orvpaint
