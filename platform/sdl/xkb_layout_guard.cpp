#include "platform/sdl/xkb_layout_guard.h"

#include <dlfcn.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using Lookup = int (*)(xkb_keymap*, xkb_keycode_t, xkb_layout_index_t, xkb_level_index_t,
                       const xkb_keysym_t**);

// libxkbcommon's own definition, the next one after the executable's.
Lookup LibraryLookup() {
  static const Lookup library =
      reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "xkb_keymap_key_get_syms_by_level"));
  return library;
}

}  // namespace

// Every caller in the process, SDL included, comes here first.
extern "C" int xkb_keymap_key_get_syms_by_level(xkb_keymap* keymap, xkb_keycode_t key,
                                                xkb_layout_index_t layout, xkb_level_index_t level,
                                                const xkb_keysym_t** syms) {
  const Lookup library = LibraryLookup();
  if (library == nullptr) {
    *syms = nullptr;
    return 0;
  }
  // libxkbcommon wraps an index it reads as negative (XKB_LAYOUT_INVALID is
  // -1) past the last layout; a layout index is never that large.
  if (static_cast<int32_t>(layout) < 0) layout = 0;
  return library(keymap, key, layout, level, syms);
}

namespace grazefall::platform::sdl {

bool CheckXkbLayoutGuard() {
  const bool active = dlsym(RTLD_DEFAULT, "xkb_keymap_key_get_syms_by_level") ==
                          reinterpret_cast<void*>(&xkb_keymap_key_get_syms_by_level) &&
                      LibraryLookup() != nullptr;
  if (!active && std::getenv("GRAZEFALL_DEBUG") != nullptr) {
    std::fputs("grazefall: the keyboard layout guard is not in the way of SDL's lookups\n", stderr);
  }
  return active;
}

}  // namespace grazefall::platform::sdl
