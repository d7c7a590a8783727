// Configuring a whole tool: settings, grit patterns, paper grain and shape in one call.
#pragma once
#include <cstdint>

namespace orv {
struct EngineState;

struct ToolParams {
    float shapeIntensity;
    int32_t gritCellSize;
    int32_t gritCellThreshold;
    int32_t gritPixelThreshold;
    uint8_t edgeSoftness;
    int32_t colorVary;
    int32_t gritRepeat;
    int32_t blendStrength;
    int32_t blendPrimaryColorStrength;
    uint8_t blendRemix;
    uint8_t toolOption11;
    uint8_t invertShape;
    uint8_t toolOption13;
    const char* paperPath;  // fewer than 2 characters: no paper grain
    const char* shapePath;
    int32_t shapeAngle;
};

// Seeds the engine sequence, stores the settings (mixMode becomes 32), builds the random
// grit when gritCellSize is not 0, applies the paper grain, builds the shape, recomputes
// the blend rests and clears the one-dab flags.
void setTool(EngineState& s, const ToolParams& p);

// The 20 grit patterns from the random byte arrays (cell size c, thresholds from the
// settings). Every read stays inside the arrays by wrapping to their start.
void buildRandomGrit(EngineState& s);

// The 20 grit patterns from windows of a grey image at random positions. Returns false
// (patterns untouched) when the image is not larger than brushSize + 25 both ways.
bool applyGrainWindows(EngineState& s, const uint8_t* gray, int32_t w, int32_t h);

// Loads the paper grain at path (an image script, repeated over a 600 x 600 tile, or an
// image file) and fills the patterns from its grey levels; false when it cannot be read or
// is too small.
bool applyPaperGrain(EngineState& s, const char* path);

}  // namespace orv
