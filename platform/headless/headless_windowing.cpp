#include "platform/headless/headless_windowing.h"

#include <algorithm>
#include <utility>

#include "platform/messages.h"

namespace grazefall::platform {

class HeadlessWindowSystem::FakeVerifier : public PasswordVerifier {
 public:
  explicit FakeVerifier(HeadlessWindowSystem& system) : system_(system) {}
  int32_t verify(WindowHandle) override {
    HeadlessWindowSystem& s = system_;
    const size_t index = static_cast<size_t>(s.verifierCalls_);
    ++s.verifierCalls_;
    s.clock_.advance(s.dialogMs_);
    // Taken first, so a dialog opened from inside it does not run it again.
    if (Step during = std::exchange(s.duringDialog_, nullptr)) during(s);
    if (s.verifierAnswers_.empty()) return 0;
    return s.verifierAnswers_[std::min(index, s.verifierAnswers_.size() - 1)];
  }

 private:
  HeadlessWindowSystem& system_;
};

HeadlessWindowSystem::HeadlessWindowSystem() {
  windows_.keepDeliveryLog();
}
HeadlessWindowSystem::~HeadlessWindowSystem() = default;

void HeadlessWindowSystem::addStep(Step step) {
  steps_.push_back(std::move(step));
}

void HeadlessWindowSystem::scriptMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  addStep([message, wParam, lParam](HeadlessWindowSystem& s) {
    s.postMessage(s.lastCreated_, message, wParam, lParam);
  });
}

void HeadlessWindowSystem::scriptTick() {
  addStep([](HeadlessWindowSystem& s) { s.tick(); });
}

void HeadlessWindowSystem::tick() {
  if (!timerActive(lastCreated_)) return;
  windows_.queue().tick(lastCreated_);
}

void HeadlessWindowSystem::scriptCursor(int32_t x, int32_t y) {
  addStep([x, y](HeadlessWindowSystem& s) { s.cursor_.moveTo(x, y); });
}

void HeadlessWindowSystem::scriptAdvance(uint32_t milliseconds) {
  addStep([milliseconds](HeadlessWindowSystem& s) { s.clock_.advance(milliseconds); });
}

WindowHandle HeadlessWindowSystem::addForeignWindow(std::string className, std::string title,
                                                    int32_t width, int32_t height) {
  Windows::Window window;
  window.className = std::move(className);
  window.title = std::move(title);
  window.extra = WindowSize{width, height};
  return windows_.add(std::move(window));
}

void HeadlessWindowSystem::destroyForeignWindow(WindowHandle window) {
  // Children go with their parent, as a real window system does.
  for (auto& [handle, record] : windows_.all()) {
    if (record.parent == window && record.alive) destroy(handle);
  }
  if (Windows::Window* record = windows_.find(window)) record->alive = false;
}

void HeadlessWindowSystem::loseForeignWindow(WindowHandle window) {
  if (Windows::Window* record = windows_.find(window)) record->alive = false;
}

void HeadlessWindowSystem::setVerifierAnswers(std::vector<int32_t> answers, uint32_t dialogMs) {
  verifierInstalled_ = true;
  verifierAnswers_ = std::move(answers);
  dialogMs_ = dialogMs;
}

int32_t HeadlessWindowSystem::countDelivered(uint32_t message) const {
  return static_cast<int32_t>(
      std::count_if(delivered().begin(), delivered().end(),
                    [&](const Delivered& d) { return d.message == message; }));
}

int32_t HeadlessWindowSystem::countPosted(uint32_t message) const {
  return static_cast<int32_t>(std::count_if(
      posted_.begin(), posted_.end(), [&](const Delivered& d) { return d.message == message; }));
}

int32_t HeadlessWindowSystem::countDefaultHandled(uint32_t message) const {
  return static_cast<int32_t>(std::count(defaultHandled_.begin(), defaultHandled_.end(), message));
}

bool HeadlessWindowSystem::timerActive(WindowHandle window) const {
  return windows_.find(window) != nullptr && windows_.queue().timerRunning(window);
}

std::optional<uint32_t> HeadlessWindowSystem::msUntilNextTick() {
  return windows_.queue().msUntilNextTick(clock_.tickCount());
}

bool HeadlessWindowSystem::registerClass(std::string_view className, WindowProc procedure) {
  return windows_.registerClass(className, procedure);
}

WindowHandle HeadlessWindowSystem::createWindow(const WindowSpec& spec) {
  const WindowProc procedure = windows_.procedureOf(spec.className);
  if (failCreate_ || procedure == nullptr) return 0;
  if (spec.kind == WindowKind::Preview && windows_.find(spec.parent) == nullptr) return 0;
  Windows::Window window;
  window.className = std::string(spec.className);
  window.title = std::string(spec.title);
  window.procedure = procedure;
  window.parent = spec.kind == WindowKind::Preview ? spec.parent : 0;
  window.extra = WindowSize{spec.bounds.width(), spec.bounds.height()};
  const WindowHandle handle = windows_.add(window);
  lastCreated_ = handle;
  lastSpec_ = spec;
  lastTitle_ = std::string(spec.title);
  deliver(handle, kWmCreate, 0, 0);
  return handle;
}

WindowHandle HeadlessWindowSystem::findWindow(std::string_view className, std::string_view title) {
  return windows_.findByName(className, title);
}

bool HeadlessWindowSystem::isWindow(WindowHandle window) {
  return windows_.find(window) != nullptr;
}

WindowHandle HeadlessWindowSystem::parentOf(WindowHandle window) {
  const Windows::Window* record = windows_.find(window);
  return record != nullptr ? record->parent : 0;
}

bool HeadlessWindowSystem::postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  posted_.push_back(Delivered{window, message, wParam, lParam});
  return windows_.post(window, message, wParam, lParam);
}

MessageResult HeadlessWindowSystem::sendMessage(WindowHandle window, uint32_t message,
                                                uintptr_t wParam, intptr_t lParam) {
  return deliver(window, message, wParam, lParam);
}

void HeadlessWindowSystem::postQuitMessage(int32_t exitCode) {
  windows_.queue().postQuit(exitCode);
}

bool HeadlessWindowSystem::getMessage(Message* message) {
  for (;;) {
    // Timer messages only come through when nothing else waits.
    MessageQueue& queue = windows_.queue();
    if (queue.takePosted(message)) return true;
    if (queue.quitPending()) {
      *message = queue.takeQuit();
      return false;
    }
    if (queue.takeTimer(message)) return true;
    if (steps_.empty()) {
      scriptEnded_ = true;
      *message = Message{0, kWmQuit, static_cast<uintptr_t>(kScriptEndedCode), 0};
      return false;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(*this);
  }
}

MessageResult HeadlessWindowSystem::dispatchMessage(const Message& message) {
  return deliver(message.window, message.message, message.wParam, message.lParam);
}

MessageResult HeadlessWindowSystem::deliver(WindowHandle window, uint32_t message, uintptr_t wParam,
                                            intptr_t lParam) {
  return windows_.deliver(window, message, wParam, lParam);
}

int32_t HeadlessWindowSystem::removeTimerMessages(WindowHandle window, int32_t limit) {
  return windows_.queue().removeTimerMessages(window, limit);
}

void HeadlessWindowSystem::destroy(WindowHandle window) {
  windows_.destroy(window);
}

MessageResult HeadlessWindowSystem::defaultWindowProc(WindowHandle window, uint32_t message,
                                                      uintptr_t, intptr_t) {
  defaultHandled_.push_back(message);
  if (message == kWmClose) destroy(window);
  return 0;
}

uint32_t HeadlessWindowSystem::registerWindowMessage(std::string_view) {
  return autoPlayId_;
}

uint32_t HeadlessWindowSystem::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
  if (windows_.find(window) == nullptr) return 0;
  // The period is left to the script: the timer fires on tick() only.
  windows_.queue().startTimer(window, timerId, periodMs, clock_.tickCount());
  return timerId;
}

void HeadlessWindowSystem::killTimer(WindowHandle window, uint32_t) {
  windows_.queue().stopTimer(window);
}

bool HeadlessWindowSystem::clientSize(WindowHandle window, int32_t* width, int32_t* height) {
  const Windows::Window* record = windows_.find(window);
  if (record == nullptr) return false;
  *width = record->extra.width;
  *height = record->extra.height;
  return true;
}

bool HeadlessWindowSystem::paintPicture(WindowHandle window, const Picture& picture, int32_t x,
                                        int32_t y) {
  if (windows_.find(window) == nullptr) return false;
  paints_.push_back(Paint{window, picture.width, picture.height, x, y});
  return true;
}

bool HeadlessWindowSystem::readPasswordSwitch(uint32_t* value) {
  if (!switchReadable_) return false;
  *value = switchValue_;
  return true;
}

std::unique_ptr<PasswordVerifier> HeadlessWindowSystem::loadPasswordVerifier() {
  if (!verifierInstalled_) return nullptr;
  ++verifierLoads_;
  return std::make_unique<FakeVerifier>(*this);
}

bool HeadlessWindowSystem::changePassword(std::string_view provider, WindowHandle owner) {
  if (!changeAvailable_) return false;
  passwordChanges_.push_back(std::string(provider) + "@" + std::to_string(owner));
  return true;
}

bool HeadlessWindowSystem::detachInputMethod(WindowHandle, uintptr_t* saved) {
  if (!imeAvailable_) return false;
  *saved = imeContext_;
  return true;
}

void HeadlessWindowSystem::restoreInputMethod(WindowHandle, uintptr_t context) {
  ++imeRestores_;
  imeRestored_ = context;
}

int32_t HeadlessWindowSystem::runTemplateDialog(int32_t, WindowHandle owner) {
  ++templateRequests_;
  lastTemplateOwner_ = owner;
  return -1;
}

}  // namespace grazefall::platform
