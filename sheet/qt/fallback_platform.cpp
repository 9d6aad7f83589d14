#include "sheet/qt/fallback_platform.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <cstdio>

#include "platform/linux/directory_settings_store.h"

namespace grazefall::qtui {
namespace {

// The screen's mode in device pixels; the depth Qt reports is at least 8.
platform::DisplayMode PrimaryScreenMode() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize size = screen->geometry().size() * screen->devicePixelRatio();
  return {size.width(), size.height(), screen->depth()};
}

class ScreenModes : public platform::DisplayDevice {
 public:
  int32_t takeFullScreen(platform::WindowHandle) override { return platform::kEFail; }
  int32_t setMode(const platform::DisplayMode&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createPrimary() override { return nullptr; }
  std::unique_ptr<platform::Surface> backBufferOf(platform::Surface&) override { return nullptr; }
  int32_t flip(platform::Surface&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createOffscreen(int32_t, int32_t) override { return nullptr; }

  bool currentMode(platform::DisplayMode* mode) override {
    const platform::DisplayMode current = PrimaryScreenMode();
    if (current.width <= 0 || current.height <= 0) return false;
    *mode = current;
    return true;
  }
  bool listModes(std::vector<platform::DisplayMode>* modes) override {
    platform::DisplayMode current;
    if (!currentMode(&current)) return false;
    for (int32_t depth : {8, 16, 24, 32}) modes->push_back({current.width, current.height, depth});
    return true;
  }
};

// Qt's monotonic timer and sleep, and the calendar time.
class DialogClock : public platform::Clock {
 public:
  DialogClock() { elapsed_.start(); }
  uint32_t tickCount() override { return static_cast<uint32_t>(elapsed_.elapsed()); }
  void sleepMs(uint32_t milliseconds) override { QThread::msleep(milliseconds); }
  int64_t timeSeconds() override { return QDateTime::currentSecsSinceEpoch(); }

 private:
  QElapsedTimer elapsed_;
};

// The dialog never shows a saver window: the cursor is left alone.
class DialogCursor : public platform::Cursor {
 public:
  platform::Point position() override { return {}; }
  void hideImage() override {}
  int32_t show(bool) override { return 0; }
};

class DialogPlatform : public platform::Platform {
 public:
  DialogPlatform() : store_(platform::DirectorySettingsStore::DefaultDirectory()) {}

  std::unique_ptr<platform::DisplayDevice> createDisplayDevice() override {
    if (QGuiApplication::primaryScreen() == nullptr) return nullptr;
    return std::make_unique<ScreenModes>();
  }
  std::unique_ptr<platform::InputSystem> createInputSystem() override { return nullptr; }
  std::optional<platform::Picture> loadResourcePicture(int32_t) override { return std::nullopt; }
  std::optional<platform::Picture> loadPictureFile(std::string_view) override {
    return std::nullopt;
  }
  std::unique_ptr<platform::Font> createFont(std::string_view, int32_t, int32_t) override {
    return nullptr;
  }
  platform::SettingsStore& settingsStore() override { return store_; }
  platform::Clock& clock() override { return clock_; }
  platform::Cursor& cursor() override { return cursor_; }
  void debugOutput(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  platform::DirectorySettingsStore store_;
  DialogClock clock_;
  DialogCursor cursor_;
};

}  // namespace

std::unique_ptr<platform::Platform> MakeDialogPlatform() {
  return std::make_unique<DialogPlatform>();
}

}  // namespace grazefall::qtui
