#include "platform/headless/headless_platform.h"

#include <deque>

#include "platform/software/bmp_decoder.h"
#include "platform/software/software_display.h"
#include "platform/software/software_font.h"
#include "resources/bitmap_resources.h"

namespace grazefall::platform {

struct HeadlessPlatform::State {
  DisplayMode currentMode{800, 600, 16};
  std::vector<DisplayMode> offeredModes;
  bool modesSetByTest = false;
  int failingDisplays = 0;
  int32_t displayRequests = 0;
  int failingInputs = 0;
  KeyboardState keys{};
  std::deque<MouseState> mouseQueue;
  std::map<int32_t, Picture> resourcePictures;
  HeadlessClock ownClock;
  HeadlessCursor ownCursor;
  // What clock() and cursor() hand out: the platform's own, or a window
  // system's.
  HeadlessClock* clock = &ownClock;
  HeadlessCursor* cursor = &ownCursor;
  std::vector<std::string> debugLines;
  FrameObserver observer;
  int64_t presentedFrames = 0;
  // The pixels of the primary that presented last; kept after it is released.
  std::shared_ptr<software::SurfacePixels> lastFrame;
  MemorySettingsStore store;

  std::vector<DisplayMode> modes() const {
    if (modesSetByTest) return offeredModes;
    std::vector<DisplayMode> all;
    for (const int32_t depth : {8, 16, 24, 32}) {
      all.push_back({currentMode.width, currentMode.height, depth});
    }
    return all;
  }
};

namespace {

class HeadlessDisplay final : public software::SoftwareDisplayDevice {
 public:
  explicit HeadlessDisplay(std::shared_ptr<HeadlessPlatform::State> state)
      : state_(std::move(state)) {}

  bool listModes(std::vector<DisplayMode>* modes) override {
    if (modes == nullptr) return false;
    *modes = state_->modes();
    return true;
  }

 protected:
  bool systemMode(DisplayMode* mode) override {
    *mode = state_->currentMode;
    return true;
  }

  int32_t present(const software::SoftwareSurface& primary) override {
    state_->lastFrame = primary.pixels();
    ++state_->presentedFrames;
    if (state_->observer) state_->observer(primary, state_->presentedFrames);
    return kOk;
  }

 private:
  std::shared_ptr<HeadlessPlatform::State> state_;
};

class HeadlessInput final : public InputDevice {
 public:
  HeadlessInput(std::shared_ptr<HeadlessPlatform::State> state, InputKind kind)
      : state_(std::move(state)), kind_(kind) {}

  int32_t setCooperativeLevel(WindowHandle) override { return kOk; }
  int32_t setStandardFormat() override { return kOk; }
  int32_t acquire() override {
    acquired_ = true;
    return kOk;
  }
  int32_t unacquire() override {
    acquired_ = false;
    return kOk;
  }
  // A device that is not acquired, or asked for the other kind's state,
  // fails the read as a real one would.
  int32_t readKeyboard(KeyboardState* state) override {
    if (!acquired_ || kind_ != InputKind::Keyboard || state == nullptr) return kEFail;
    *state = state_->keys;
    return kOk;
  }
  int32_t readMouse(MouseState* state) override {
    if (!acquired_ || kind_ != InputKind::Mouse || state == nullptr) return kEFail;
    if (state_->mouseQueue.empty()) {
      *state = MouseState{};
    } else {
      *state = state_->mouseQueue.front();
      state_->mouseQueue.pop_front();
    }
    return kOk;
  }

 private:
  std::shared_ptr<HeadlessPlatform::State> state_;
  InputKind kind_;
  bool acquired_ = false;
};

class HeadlessInputSystem final : public InputSystem {
 public:
  explicit HeadlessInputSystem(std::shared_ptr<HeadlessPlatform::State> state)
      : state_(std::move(state)) {}
  std::unique_ptr<InputDevice> createDevice(InputKind kind) override {
    return std::make_unique<HeadlessInput>(state_, kind);
  }

 private:
  std::shared_ptr<HeadlessPlatform::State> state_;
};

}  // namespace

HeadlessPlatform::HeadlessPlatform() : state_(std::make_shared<State>()) {}
HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::setCurrentMode(const DisplayMode& mode) {
  state_->currentMode = mode;
}
void HeadlessPlatform::setOfferedModes(std::vector<DisplayMode> modes) {
  state_->offeredModes = std::move(modes);
  state_->modesSetByTest = true;
}
void HeadlessPlatform::failDisplayCreations(int count) {
  state_->failingDisplays = count;
}
void HeadlessPlatform::failInputCreations(int count) {
  state_->failingInputs = count;
}
void HeadlessPlatform::setKeyDown(int scanCode, bool down) {
  if (scanCode < 0 || scanCode >= static_cast<int>(state_->keys.size())) return;
  state_->keys[static_cast<size_t>(scanCode)] = down ? 0x80 : 0x00;
}
void HeadlessPlatform::queueMouseState(const MouseState& state) {
  state_->mouseQueue.push_back(state);
}
void HeadlessPlatform::addResourcePicture(int32_t resourceId, Picture picture) {
  state_->resourcePictures[resourceId] = std::move(picture);
}
void HeadlessPlatform::setTimeSeconds(int64_t seconds) {
  state_->clock->setTimeSeconds(seconds);
}
void HeadlessPlatform::advanceTicks(uint32_t milliseconds) {
  state_->clock->advance(milliseconds);
}
void HeadlessPlatform::useClockAndCursor(HeadlessClock& clock, HeadlessCursor& cursor) {
  state_->clock = &clock;
  state_->cursor = &cursor;
}
void HeadlessPlatform::useOwnClockAndCursor() {
  state_->clock = &state_->ownClock;
  state_->cursor = &state_->ownCursor;
}
void HeadlessPlatform::setFrameObserver(FrameObserver observer) {
  state_->observer = std::move(observer);
}

int64_t HeadlessPlatform::presentedFrames() const {
  return state_->presentedFrames;
}
Picture HeadlessPlatform::lastPresentedFrame() const {
  if (!state_->lastFrame) return {};
  const auto frame = software::SoftwareSurface::Share(state_->lastFrame);
  return frame ? frame->toPicture() : Picture{};
}
int32_t HeadlessPlatform::displayRequests() const {
  return state_->displayRequests;
}
uint64_t HeadlessPlatform::totalSleptMs() const {
  return state_->clock->totalSleptMs();
}
int32_t HeadlessPlatform::cursorCount() const {
  return state_->cursor->displayCount();
}
const std::vector<std::string>& HeadlessPlatform::debugLines() const {
  return state_->debugLines;
}
MemorySettingsStore& HeadlessPlatform::memoryStore() {
  return state_->store;
}

std::unique_ptr<DisplayDevice> HeadlessPlatform::createDisplayDevice() {
  ++state_->displayRequests;
  if (state_->failingDisplays > 0) {
    --state_->failingDisplays;
    return nullptr;
  }
  return std::make_unique<HeadlessDisplay>(state_);
}

std::unique_ptr<InputSystem> HeadlessPlatform::createInputSystem() {
  if (state_->failingInputs > 0) {
    --state_->failingInputs;
    return nullptr;
  }
  return std::make_unique<HeadlessInputSystem>(state_);
}

std::optional<Picture> HeadlessPlatform::loadResourcePicture(int32_t resourceId) {
  const auto planted = state_->resourcePictures.find(resourceId);
  if (planted != state_->resourcePictures.end()) return planted->second;
  const std::span<const uint8_t> bytes = resources::FindBitmap(resourceId);
  if (bytes.empty()) return std::nullopt;
  return software::DecodeBmp(bytes);
}

std::optional<Picture> HeadlessPlatform::loadPictureFile(std::string_view path) {
  return software::LoadBmpFile(path);
}

std::unique_ptr<Font> HeadlessPlatform::createFont(std::string_view face, int32_t height,
                                                   int32_t weight) {
  return software::SoftwareFont::Open(face, height, weight);
}

SettingsStore& HeadlessPlatform::settingsStore() {
  return state_->store;
}

Clock& HeadlessPlatform::clock() {
  return *state_->clock;
}
Cursor& HeadlessPlatform::cursor() {
  return *state_->cursor;
}
void HeadlessPlatform::debugOutput(std::string_view text) {
  state_->debugLines.emplace_back(text);
}

}  // namespace grazefall::platform
