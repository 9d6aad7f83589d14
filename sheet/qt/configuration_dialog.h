// The settings dialog on Linux: a modal tabbed dialog with the seven pages,
// OK, Cancel and Help, driving the toolkit-free property sheet.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/settings_store.h"
#include "sheet/property_sheet.h"
#include "sheet/qt/page_widgets.h"
#include "sheet/sheet_services.h"

namespace grazefall::qtui {

// Runs the settings dialog for the host (/c and an empty command line) over
// the options in `store`: makes the QApplication when there is none, prepares
// the store and shows the dialog. 0 after OK, 1 after Cancel (or when no
// display can be opened).
int ShowConfigurationSheet(int argc, char** argv, platform::SettingsStore& store);

class ConfigurationDialog : public QDialog {
  Q_OBJECT
 public:
  // Opens the sheet at once, which prepares the options in `store`.
  ConfigurationDialog(SheetServices& services, platform::SettingsStore& store,
                      QWidget* parent = nullptr);
  ~ConfigurationDialog() override;

  PropertySheet& sheet() { return *sheet_; }
  QTabWidget* tabs() const { return tabs_; }
  PageWidget* page(size_t index) const { return pages_[index]; }
  // The widget of control `id` on page `pageIndex`; null when there is none.
  QWidget* control(size_t pageIndex, int32_t id) const;
  QPushButton* okButton() const;
  QPushButton* cancelButton() const;
  QPushButton* helpButton() const;

 public slots:
  void accept() override;
  void reject() override;

 private:
  void showPage(int index);
  void runCommand(size_t pageIndex, int id, int notifyCode);
  void moveSlider(size_t pageIndex);
  // The user's edits on the showing page into its model.
  void pullCurrent();
  // Every created page's model onto its widgets.
  void pushAll();

  std::unique_ptr<PropertySheet> sheet_;
  QTabWidget* tabs_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  std::array<PageWidget*, kSheetPageCount> pages_{};
  bool closed_ = false;
  // OK is storing the values; a Cancel meanwhile waits for it to finish.
  bool saving_ = false;
  bool cancelAfterSave_ = false;
};

}  // namespace grazefall::qtui
