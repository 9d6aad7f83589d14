// A window system in memory for tests: windows are records, the message
// queue is the shared MessageQueue, and time only moves when told. A test
// scripts what happens while the host's message loop waits (messages
// arriving, timer ticks, the cursor moving, the clock advancing); when the
// script runs out the loop is ended with kScriptEndedCode so a test never
// hangs. The clock and cursor it scripts are its own; a HeadlessPlatform
// hands them out to the core (HeadlessPlatform::useClockAndCursor).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_cursor.h"
#include "platform/message_queue/window_table.h"
#include "platform/windowing.h"

namespace grazefall::platform {

class HeadlessWindowSystem : public WindowSystem {
 public:
  static constexpr int32_t kScriptEndedCode = 0x5C1;

  HeadlessWindowSystem();
  ~HeadlessWindowSystem() override;

  // --- What a test arranges ---
  using Step = std::function<void(HeadlessWindowSystem&)>;
  // Runs when the loop finds the queue empty, one step per wait.
  void addStep(Step step);
  // Script shorthands: a message to the saver window (the last window made),
  // one timer tick, the cursor moving to (x, y), the clock moving on.
  void scriptMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  void scriptTick();
  void scriptCursor(int32_t x, int32_t y);
  void scriptAdvance(uint32_t milliseconds);
  // The timer firing now: a WM_TIMER for the saver window unless one is
  // already queued or its timer is off.
  void tick();

  // A window of another program (a preview parent), with its client size.
  WindowHandle addForeignWindow(std::string className, std::string title, int32_t width,
                                int32_t height);
  // Ends a window from outside, as its owner would.
  void destroyForeignWindow(WindowHandle window);
  // Ends a window of another process before its children hear of it, as
  // happens when that process dies while a message for a child is on its way.
  void loseForeignWindow(WindowHandle window);
  void setVirtualScreen(const Rect& screen) { virtualScreen_ = screen; }
  void setCursor(int32_t x, int32_t y) { cursor_.moveTo(x, y); }
  void advance(uint32_t milliseconds) { clock_.advance(milliseconds); }
  void setForeground(WindowHandle window) { foreground_ = window; }
  void failWindowCreation(bool fail) { failCreate_ = fail; }
  // A system that leaves passwords to the saver, with its password switch,
  // the answers its password dialog gives in turn (missing: no verifier at
  // all), and how long each dialog stays up.
  void setSaverHandlesPasswords(bool handles) { handlesPasswords_ = handles; }
  void setPasswordSwitch(bool readable, uint32_t value) {
    switchReadable_ = readable;
    switchValue_ = value;
  }
  void setVerifierAnswers(std::vector<int32_t> answers, uint32_t dialogMs = 0);
  // What happens while a password dialog is up (a message reaching the saver
  // from the dialog's own loop), during the next dialog only.
  void setDuringPasswordDialog(Step step) { duringDialog_ = std::move(step); }
  void setAutoPlayMessageId(uint32_t id) { autoPlayId_ = id; }
  void setChangePasswordAvailable(bool available) { changeAvailable_ = available; }
  // Whether the window gets an input method context taken away at creation,
  // and which one it had (0: none).
  void setInputMethodAvailable(bool available, uintptr_t context = kInputMethodContext) {
    imeAvailable_ = available;
    imeContext_ = context;
  }
  static constexpr uintptr_t kInputMethodContext = 0x77;

  // --- What a test reads back ---
  using Delivered = Message;
  // Every message handed to a window procedure, sent or dispatched, in order.
  const std::vector<Delivered>& delivered() const { return windows_.deliveryLog(); }
  int32_t countDelivered(uint32_t message) const;
  // Every message posted, to any window, in order.
  const std::vector<Delivered>& posted() const { return posted_; }
  int32_t countPosted(uint32_t message) const;
  // Messages that reached the system's default handling.
  int32_t countDefaultHandled(uint32_t message) const;
  WindowHandle saverWindow() const { return lastCreated_; }
  const WindowSpec& lastSpec() const { return lastSpec_; }
  std::string lastTitle() const { return lastTitle_; }
  bool scriptEnded() const { return scriptEnded_; }
  bool timerActive(WindowHandle window) const;
  // Milliseconds of the script's clock until a timer is due; nullopt with none.
  std::optional<uint32_t> msUntilNextTick();
  int32_t cursorHides() const { return cursor_.imageHides(); }
  int32_t verifierCalls() const { return verifierCalls_; }
  int32_t verifierLoads() const { return verifierLoads_; }
  const std::vector<bool>& runningNotices() const { return runningNotices_; }
  const std::vector<std::string>& passwordChanges() const { return passwordChanges_; }
  int32_t templateDialogRequests() const { return templateRequests_; }
  WindowHandle lastTemplateOwner() const { return lastTemplateOwner_; }
  // How often a context was given back, and the last one given.
  int32_t inputMethodRestores() const { return imeRestores_; }
  uintptr_t lastRestoredInputMethod() const { return imeRestored_; }
  struct Paint {
    WindowHandle window;
    int32_t width;
    int32_t height;
    int32_t x;
    int32_t y;
  };
  const std::vector<Paint>& paints() const { return paints_; }
  WindowHandle foreground() const { return foreground_; }

  // The clock and cursor this system's script moves.
  HeadlessClock& clock() { return clock_; }
  HeadlessCursor& cursor() { return cursor_; }

  // --- WindowSystem ---
  bool registerClass(std::string_view className, WindowProc procedure) override;
  WindowHandle createWindow(const WindowSpec& spec) override;
  WindowHandle findWindow(std::string_view className, std::string_view title) override;
  bool isWindow(WindowHandle window) override;
  WindowHandle foregroundWindow() override { return foreground_; }
  void setForegroundWindow(WindowHandle window) override { foreground_ = window; }
  WindowHandle parentOf(WindowHandle window) override;
  bool postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override;
  MessageResult sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam) override;
  void postQuitMessage(int32_t exitCode) override;
  bool getMessage(Message* message) override;
  MessageResult dispatchMessage(const Message& message) override;
  int32_t removeTimerMessages(WindowHandle window, int32_t limit) override;
  MessageResult defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) override;
  uint32_t registerWindowMessage(std::string_view name) override;
  uint32_t setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) override;
  void killTimer(WindowHandle window, uint32_t timerId) override;
  Rect virtualScreen() override { return virtualScreen_; }
  bool clientSize(WindowHandle window, int32_t* width, int32_t* height) override;
  bool paintPicture(WindowHandle window, const Picture& picture, int32_t x, int32_t y) override;
  bool saverHandlesPasswords() override { return handlesPasswords_; }
  bool readPasswordSwitch(uint32_t* value) override;
  std::unique_ptr<PasswordVerifier> loadPasswordVerifier() override;
  void setScreenSaverRunning(bool running) override { runningNotices_.push_back(running); }
  bool changePassword(std::string_view provider, WindowHandle owner) override;
  bool detachInputMethod(WindowHandle window, uintptr_t* saved) override;
  void restoreInputMethod(WindowHandle window, uintptr_t context) override;
  int32_t runTemplateDialog(int32_t templateId, WindowHandle owner) override;

 private:
  // What a window of ours, or of another program (addForeignWindow, no
  // procedure), has beside its name: its client size.
  struct WindowSize {
    int32_t width = 0;
    int32_t height = 0;
  };
  using Windows = WindowTable<WindowSize>;
  class FakeVerifier;

  MessageResult deliver(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void destroy(WindowHandle window);

  Windows windows_{0x1000};
  WindowHandle lastCreated_ = 0;
  WindowSpec lastSpec_;
  std::string lastTitle_;
  std::deque<Step> steps_;
  std::vector<Delivered> posted_;
  std::vector<uint32_t> defaultHandled_;
  Rect virtualScreen_{0, 0, 800, 600};
  HeadlessClock clock_{1000};
  HeadlessCursor cursor_;
  WindowHandle foreground_ = 0;
  bool failCreate_ = false;
  bool scriptEnded_ = false;
  bool handlesPasswords_ = false;
  bool switchReadable_ = false;
  uint32_t switchValue_ = 0;
  bool verifierInstalled_ = false;
  std::vector<int32_t> verifierAnswers_;
  uint32_t dialogMs_ = 0;
  Step duringDialog_;
  int32_t verifierCalls_ = 0;
  int32_t verifierLoads_ = 0;
  uint32_t autoPlayId_ = 0;
  std::vector<bool> runningNotices_;
  bool changeAvailable_ = false;
  std::vector<std::string> passwordChanges_;
  int32_t templateRequests_ = 0;
  WindowHandle lastTemplateOwner_ = 0;
  bool imeAvailable_ = false;
  uintptr_t imeContext_ = kInputMethodContext;
  int32_t imeRestores_ = 0;
  uintptr_t imeRestored_ = 0;
  std::vector<Paint> paints_;
};

}  // namespace grazefall::platform
