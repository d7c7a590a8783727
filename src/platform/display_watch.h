// Display and settings change notices. A desktop watcher (or a test) calls
// notifyDisplayChanged(); the host polls the flag through the engine.
#pragma once

namespace orv {
void notifyDisplayChanged() noexcept;
// Returns whether a change was seen since the last call, clearing the flag.
bool takeDisplayChanged() noexcept;
}  // namespace orv
