// The settings sheet without its widgets: seven pages, which one is showing,
// which have been created, and the order in which the pages hear about page
// changes, OK, Cancel and Help. The toolkit front end forwards the user's
// actions here and mirrors each page's control model onto its widgets.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "options/options_store.h"
#include "platform/settings_store.h"
#include "sheet/control_model.h"
#include "sheet/page_procedure.h"
#include "sheet/page_template.h"
#include "sheet/sheet_services.h"

namespace grazefall {

constexpr size_t kSheetPageCount = 7;
constexpr std::string_view kSheetCaption = "Grazefall";

class PropertySheet {
 public:
  // The pages keep the options in `store`.
  PropertySheet(SheetServices& services, platform::SettingsStore& store);
  ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  // Creates and shows the first page; the sheet is then open.
  void open();
  // Leaves the current page and shows page `index` (created on first show).
  void selectPage(size_t index);
  // OK: the current page is left, then every created page applies, in order.
  // False when a value could not be stored: the user has been told, and the
  // sheet stays open for another OK (after fixing the store) or Cancel.
  bool ok();
  // Cancel: every created page hears of it; nothing is read back.
  void cancel();
  // Help on the current page.
  void help();

  // The user's actions on the current page's controls.
  void command(int32_t id, int32_t notifyCode = kNotifyClicked);
  void sliderMoved();

  size_t currentPage() const { return current_; }
  bool isCreated(size_t index) const { return pages_[index].created; }
  const PageTemplate& pageTemplate(size_t index) const { return *pages_[index].layout; }
  ControlModel& controls(size_t index) { return pages_[index].controls; }
  PageProcedure& procedure(size_t index) { return *pages_[index].procedure; }

 private:
  struct Page {
    const PageTemplate* layout;
    std::unique_ptr<PageProcedure> procedure;
    ControlModel controls;
    bool created = false;
  };
  void create(size_t index);
  NotifyResult notify(size_t index, int32_t code);
  // Tells the user, with one message box, when a store write failed since
  // the last call; true when one did.
  bool tellStoreFailure(bool closing);

  SheetServices& services_;
  OptionsStore store_;
  std::vector<Page> pages_;
  size_t current_ = 0;
  bool open_ = false;
};

}  // namespace grazefall
