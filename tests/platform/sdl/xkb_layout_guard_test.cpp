#include "platform/sdl/xkb_layout_guard.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace grazefall::platform::sdl {
namespace {

struct ContextUnref {
  void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapUnref {
  void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};

// The key X of a PC keyboard (evdev code 45, plus XKB's 8).
constexpr xkb_keycode_t kKeyX = 53;

TEST(XkbLayoutGuardTest, StandsInTheWayOfEveryLookupInTheProcess) {
  EXPECT_TRUE(CheckXkbLayoutGuard());
}

TEST(XkbLayoutGuardTest, AnIndexThatNamesNoLayoutLooksInTheFirstLayout) {
  const std::unique_ptr<xkb_context, ContextUnref> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
  ASSERT_NE(context, nullptr);
  const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
  const std::unique_ptr<xkb_keymap, KeymapUnref> keymap(
      xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
  if (!keymap) GTEST_SKIP() << "no XKB data to compile a keymap from (package xkb-data)";
  ASSERT_EQ(xkb_keymap_num_layouts_for_key(keymap.get(), kKeyX), 1u);

  const xkb_keysym_t* syms = nullptr;
  ASSERT_EQ(xkb_keymap_key_get_syms_by_level(keymap.get(), kKeyX, 0, 1, &syms), 1);
  EXPECT_EQ(syms[0], XKB_KEY_X);
  // What SDL asks before the layout is known: libxkbcommon alone would read
  // past the key's one layout.
  syms = nullptr;
  ASSERT_EQ(xkb_keymap_key_get_syms_by_level(keymap.get(), kKeyX, XKB_LAYOUT_INVALID, 0, &syms), 1);
  EXPECT_EQ(syms[0], XKB_KEY_x);
  // A layout the key has not is still wrapped by libxkbcommon.
  ASSERT_EQ(xkb_keymap_key_get_syms_by_level(keymap.get(), kKeyX, 3, 0, &syms), 1);
  EXPECT_EQ(syms[0], XKB_KEY_x);
}

}  // namespace
}  // namespace grazefall::platform::sdl
