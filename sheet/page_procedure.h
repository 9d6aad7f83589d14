// The protocol every settings page follows towards the sheet: the sheet's
// notifications with their result values, commands from controls by id, and
// slider movements. Each page fills its controls from activeOptions when it
// is shown and reads them back when it is left.
#pragma once

#include <cstdint>

#include "sheet/control_model.h"
#include "sheet/sheet_services.h"

namespace grazefall {

// The sheet's notification codes.
constexpr int32_t kPsnSetActive = -200;
constexpr int32_t kPsnKillActive = -201;
constexpr int32_t kPsnApply = -202;
constexpr int32_t kPsnReset = -203;
constexpr int32_t kPsnHelp = -205;

// Notification codes some controls send with their commands.
constexpr int32_t kNotifyClicked = 0;
constexpr int32_t kListSelectionChanged = 1;

// What a page answers a notification with: the procedure's return value and,
// when set, the page's result slot.
struct NotifyResult {
  bool handled = false;
  bool resultSet = false;
  int32_t result = 0;
  friend bool operator==(const NotifyResult&, const NotifyResult&) = default;
};

class PageProcedure {
 public:
  virtual ~PageProcedure() = default;

  // The page is created: the first time it is shown.
  virtual void initialize(ControlModel& /*controls*/, SheetServices& /*services*/) {}
  // A control reported a command (a click, a list selection change).
  virtual void command(int32_t /*id*/, int32_t /*notifyCode*/, ControlModel& /*controls*/,
                       SheetServices& /*services*/) {}
  // A slider on the page moved.
  virtual void sliderMoved(ControlModel& /*controls*/) {}

  // The protocol: dispatches to fill, read and apply and gives the result.
  NotifyResult notify(int32_t code, ControlModel& controls, SheetServices& services);

 protected:
  // Puts activeOptions into the controls (the page is about to show).
  virtual void fill(ControlModel& /*controls*/, SheetServices& /*services*/) {}
  // Puts the controls into activeOptions (the page is being left).
  virtual void read(ControlModel& /*controls*/) {}
  // OK was pressed.
  virtual void apply(ControlModel& /*controls*/) {}
};

// "Custom" is the only scenario whose settings the pages let the user edit.
bool CustomScenarioActive();

}  // namespace grazefall
