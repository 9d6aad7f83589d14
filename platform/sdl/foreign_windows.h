// Drawing into X windows that SDL did not make: XScreenSaver's window (or
// the one -root and -window-id name), and a preview inside another
// program's window, drawn in a black child of our own so that the parent's
// repainting never wipes it and the X server takes it away with the parent.
#pragma once

#include <cstdint>

#include "platform/sdl/x11_connection.h"
#include "platform/types.h"

struct SDL_Window;

namespace grazefall::platform::sdl {

// A black child window covering `bounds` of `parent`, shown; 0 when it
// cannot be made. Synced, so SDL's own connection finds it at once.
uint64_t CreatePreviewChild(XConnection& x, uint64_t parent, const Rect& bounds);
// Destroys a preview child made by CreatePreviewChild, if it still exists
// (the X server has already destroyed it when its parent went).
void DestroyPreviewChild(XConnection& x, uint64_t child);

// An SDL window over the existing X window `foreign`, with the resizes and
// exposes SDL would otherwise never hear of; null when SDL cannot take it.
// Destroying the SDL window only lets go of the X window.
SDL_Window* OpenForeignWindow(uint64_t foreign);

}  // namespace grazefall::platform::sdl
