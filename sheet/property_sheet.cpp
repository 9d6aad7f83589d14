#include "sheet/property_sheet.h"

#include <string>

#include "options/options_store.h"
#include "sheet/background_page.h"
#include "sheet/effects_page.h"
#include "sheet/herd_page.h"
#include "sheet/liff_page.h"
#include "sheet/scenarios_page.h"
#include "sheet/wind_page.h"
#include "sheet/xanadu_page.h"

namespace grazefall {

PropertySheet::PropertySheet(SheetServices& services, platform::SettingsStore& store)
    : services_(services), store_(store) {
  auto add = [this](const PageTemplate& layout, std::unique_ptr<PageProcedure> procedure) {
    pages_.push_back(Page{&layout, std::move(procedure), ControlModel(layout), false});
  };
  add(ScenariosTemplate(), std::make_unique<ScenariosPage>(store_));
  add(HerdTemplate(), std::make_unique<HerdPage>());
  add(WindTemplate(), std::make_unique<WindPage>());
  add(EffectsTemplate(), std::make_unique<EffectsPage>());
  add(BackgroundTemplate(), std::make_unique<BackgroundPage>());
  add(XanaduTemplate(), std::make_unique<XanaduPage>());
  add(LiffTemplate(), std::make_unique<LiffPage>());
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::open() {
  if (open_) return;
  open_ = true;
  current_ = 0;
  TakeStoreFailure(store_);
  create(0);
  notify(0, kPsnSetActive);
  tellStoreFailure(false);
}

void PropertySheet::selectPage(size_t index) {
  if (!open_ || index >= pages_.size() || index == current_) return;
  TakeStoreFailure(store_);
  // Pages never refuse to be left, so the result is not looked at.
  notify(current_, kPsnKillActive);
  current_ = index;
  create(index);
  notify(index, kPsnSetActive);
  tellStoreFailure(false);
}

bool PropertySheet::ok() {
  if (!open_) return false;
  TakeStoreFailure(store_);
  notify(current_, kPsnKillActive);
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].created) notify(i, kPsnApply);
  }
  if (tellStoreFailure(true)) return false;
  open_ = false;
  return true;
}

void PropertySheet::cancel() {
  if (!open_) return;
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].created) notify(i, kPsnReset);
  }
  open_ = false;
}

void PropertySheet::help() {
  if (open_) notify(current_, kPsnHelp);
}

void PropertySheet::command(int32_t id, int32_t notifyCode) {
  if (!open_) return;
  Page& page = pages_[current_];
  // A hidden or disabled control cannot be clicked.
  if (page.controls.has(id) && (!page.controls.isShown(id) || !page.controls.isEnabled(id))) {
    return;
  }
  page.procedure->command(id, notifyCode, page.controls, services_);
}

void PropertySheet::sliderMoved() {
  if (open_) pages_[current_].procedure->sliderMoved(pages_[current_].controls);
}

void PropertySheet::create(size_t index) {
  Page& page = pages_[index];
  if (page.created) return;
  page.created = true;
  page.procedure->initialize(page.controls, services_);
}

bool PropertySheet::tellStoreFailure(bool closing) {
  const std::optional<StoreFailure> failure = TakeStoreFailure(store_);
  if (!failure) return false;
  // On OK the save has just failed; on opening or changing pages a store
  // write failed before the user asked to save.
  std::string text = closing ? "Your settings could not be saved" : "Your settings cannot be saved";
  text += failure->location.empty() ? "." : " in the folder\n" + failure->location;
  if (!failure->reason.empty()) text += "\n\n" + failure->reason + ".";
  text += closing ? "\n\nMake room there or make it writable, then press OK again; Cancel "
                    "closes without saving."
                  : "\n\nChanges you make will not be kept until that is put right.";
  services_.showMessage(text, kSheetCaption);
  return true;
}

NotifyResult PropertySheet::notify(size_t index, int32_t code) {
  Page& page = pages_[index];
  return page.procedure->notify(code, page.controls, services_);
}

}  // namespace grazefall
