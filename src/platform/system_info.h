// Operating-system services the host asks the engine for (memory figures are in
// memory_status.h): window colours and metrics, a system directory, a rename that never replaces, and
// window redraw control.
#pragma once
#include <cstdint>

namespace orv {

// Window colours (colour words 0x00BBGGRR) and metrics in pixels: fixed values, as there is
// no desktop theme to ask.
inline constexpr uint32_t kWindowBackgroundColour = 0x00F0F0F0;
inline constexpr uint32_t kWindowTextColour = 0x00000000;
inline constexpr int32_t kWindowCaptionSize = 23;
inline constexpr int32_t kWindowSmallCaptionSize = 17;
inline constexpr int32_t kWindowFixedFrameSize = 3;

// The directory holding the system's shared data (fonts and the like).
const char* systemDirectory() noexcept;

// Renames a file; false when either path is null, the target exists (it is never
// replaced) or the system refuses.
bool renameNoReplace(const char* from, const char* to) noexcept;

// Window redraw control. Without a window system there is nothing to send: both return 0.
int32_t setWindowRedraw(void* window, uint8_t on) noexcept;
int32_t redrawWindow(void* window) noexcept;

}  // namespace orv
