// One line of JSON describing an animation right after a presented frame:
// the intro, gust and message states, the pause asked for, and every sprite
// of the herd, explosions and tears. Tools read these lines by key.
#pragma once

#include <cstdint>
#include <string>

namespace grazefall {

struct Animation;

// The line for presented frame `frame` (1-based), without the newline.
// `loading` marks the loading cow's frames shown while the herd is built;
// they ask for no pause, so their sleepMs is 0 whatever `sleepMs` says.
// Otherwise `sleepMs` is the pause the frame step returned.
std::string FrameTraceLine(const Animation& animation, int64_t frame, bool loading,
                           uint32_t sleepMs);

}  // namespace grazefall
