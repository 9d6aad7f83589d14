// The whole platform in memory: a display whose current mode and mode list a
// test sets, keyboard and mouse states a test scripts, a settings store in
// memory, a clock that only moves when told (or the one a headless window
// system scripts), and every presented frame handed to an observer. Surfaces are the software
// backend's, so pixels are real.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_cursor.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/platform.h"

namespace grazefall::platform {

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  // --- What a test arranges ---
  // The mode the display reports as current (default 800 x 600 x 16).
  void setCurrentMode(const DisplayMode& mode);
  // The modes the display offers; setMode refuses any other (default: the
  // current mode's resolution at 8, 16, 24 and 32 bits).
  void setOfferedModes(std::vector<DisplayMode> modes);
  // Makes the next `count` display (or input) object creations fail.
  void failDisplayCreations(int count);
  void failInputCreations(int count);
  // Key bytes every keyboard read returns (bit 0x80 = down).
  void setKeyDown(int scanCode, bool down);
  // Mouse reads return these states in order, then zero movement and no
  // buttons.
  void queueMouseState(const MouseState& state);
  // A picture served for a resource id ahead of the program's own.
  void addResourcePicture(int32_t resourceId, Picture picture);
  void setTimeSeconds(int64_t seconds);
  void advanceTicks(uint32_t milliseconds);
  // Hands out this clock and cursor (a HeadlessWindowSystem's) instead of its
  // own, so the core reads the very clock and cursor the window system's
  // script moves; they must stay alive until useOwnClockAndCursor or the
  // platform's end. The clock and cursor calls above then act on them too.
  void useClockAndCursor(HeadlessClock& clock, HeadlessCursor& cursor);
  void useOwnClockAndCursor();

  // Called with every frame a primary presents (1-based count).
  using FrameObserver = std::function<void(const Surface& frame, int64_t frameNumber)>;
  void setFrameObserver(FrameObserver observer);

  // --- What a test reads back ---
  int64_t presentedFrames() const;
  // The last presented frame converted to colours (empty before any).
  Picture lastPresentedFrame() const;
  // Display devices asked for, the failed creations among them.
  int32_t displayRequests() const;
  uint64_t totalSleptMs() const;
  int32_t cursorCount() const;
  const std::vector<std::string>& debugLines() const;
  MemorySettingsStore& memoryStore();

  // --- Platform ---
  std::unique_ptr<DisplayDevice> createDisplayDevice() override;
  std::unique_ptr<InputSystem> createInputSystem() override;
  std::optional<Picture> loadResourcePicture(int32_t resourceId) override;
  std::optional<Picture> loadPictureFile(std::string_view path) override;
  std::unique_ptr<Font> createFont(std::string_view face, int32_t height, int32_t weight) override;
  SettingsStore& settingsStore() override;
  Clock& clock() override;
  Cursor& cursor() override;
  void debugOutput(std::string_view text) override;

  struct State;  // shared with the devices this platform creates

 private:
  std::shared_ptr<State> state_;
};

}  // namespace grazefall::platform
