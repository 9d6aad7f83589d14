// A nearest-pixel stretched copy that skips key pixels, between two surfaces
// of one pixel format. It samples the centre of each destination pixel in
// 16.16 fixed point, as SDL's generic scaler does, so the pictures it makes
// are the same as SDL_BlitScaled's for an unclipped colour-keyed copy; it
// only avoids SDL's per-pixel colour unpacking, which makes a full-screen
// stretched picture cost more than the rest of a frame.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct SDL_Rect;

namespace grazefall::platform::software {

// Copies `source` (inside `from`) stretched over `destination` (inside `to`),
// leaving destination pixels whose source pixel equals `key` untouched.
// False, with nothing drawn, when the formats differ, either rectangle is
// empty or not inside its surface, or the two are the same surface.
bool StretchKeyed(SDL_Surface* from, const SDL_Rect& source, SDL_Surface* to,
                  const SDL_Rect& destination, uint32_t key);

}  // namespace grazefall::platform::software
