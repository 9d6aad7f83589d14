// A guard between SDL and libxkbcommon. SDL 2.26 crashes (SIGSEGV) when the
// first keyboard the saver sees has a keymap that names no layout (a virtual
// keyboard: wtype, a remote desktop) and joins with a key held: its handler
// of the keyboard's entry looks the held key up with layout
// XKB_LAYOUT_INVALID (no modifiers event has named the layout yet), and
// libxkbcommon 1.5 wraps that index to one past the key's last layout and
// reads beyond its layouts. No hint or event filter reaches that code, and
// the wl_keyboard is SDL's own. So the program defines that lookup,
// xkb_keymap_key_get_syms_by_level, itself: the dynamic linker resolves SDL's
// calls to the executable's definition first, which asks libxkbcommon's with
// the first layout in place of an index that names none.
#pragma once

namespace grazefall::platform::sdl {

// Whether the lookups SDL makes go through the guard (the executable exports
// it); said on standard error under GRAZEFALL_DEBUG when they do not.
bool CheckXkbLayoutGuard();

}  // namespace grazefall::platform::sdl
