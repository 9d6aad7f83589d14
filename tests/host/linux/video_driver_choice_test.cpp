// Which display the Linux saver opens, and what in a command line needs X.
#include "host/linux/video_driver_choice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "host/linux/hack_options.h"

namespace grazefall::app {
namespace {

TEST(ChooseVideoDriver, WaylandOnlyWhereNoXServerAnswers) {
  EXPECT_EQ(ChooseVideoDriver({.waylandDisplay = true, .xServerAnswers = false}, false), "wayland");
  // An X server (a desktop's XWayland, or X itself) keeps the saver on X11.
  EXPECT_EQ(ChooseVideoDriver({.waylandDisplay = true, .xServerAnswers = true}, false), "x11");
  EXPECT_EQ(ChooseVideoDriver({.waylandDisplay = false, .xServerAnswers = true}, false), "x11");
  // Neither: X11, whose failure to open says that DISPLAY is missing.
  EXPECT_EQ(ChooseVideoDriver({.waylandDisplay = false, .xServerAnswers = false}, false), "x11");
  // Drawing into X windows is X11's, compositor or not.
  EXPECT_EQ(ChooseVideoDriver({.waylandDisplay = true, .xServerAnswers = false}, true), "x11");
}

host::LinuxCommand Parse(std::vector<std::string_view> args,
                         std::optional<std::string_view> xscreensaverWindow = std::nullopt) {
  return host::ParseLinuxCommand(args, xscreensaverWindow);
}

TEST(XOnlyFeature, ForeignWindowsAndPreviewsNeedX) {
  EXPECT_NE(XOnlyFeature(Parse({"-root"})).find("-root"), std::string_view::npos);
  EXPECT_NE(XOnlyFeature(Parse({"-window-id", "0x200001"})).find("-window-id"),
            std::string_view::npos);
  EXPECT_NE(XOnlyFeature(Parse({}, "123")).find("XSCREENSAVER_WINDOW"), std::string_view::npos);
  EXPECT_NE(XOnlyFeature(Parse({"/p", "1234"})).find("preview"), std::string_view::npos);
  EXPECT_NE(XOnlyFeature(Parse({"/l", "1234"})).find("preview"), std::string_view::npos);
  // The saver's own windows, the settings and the tools do not.
  EXPECT_EQ(XOnlyFeature(Parse({"/s"})), "");
  EXPECT_EQ(XOnlyFeature(Parse({"-window"})), "");
  EXPECT_EQ(XOnlyFeature(Parse({"/c"})), "");
  EXPECT_EQ(XOnlyFeature(Parse({})), "");
}

}  // namespace
}  // namespace grazefall::app
