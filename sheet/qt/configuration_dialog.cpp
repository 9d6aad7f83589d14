#include "sheet/qt/configuration_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

#include "sheet/qt/qt_pictures.h"
#include "sheet/qt/qt_sheet_services.h"
#include "sheet/qt/stop_signals.h"

namespace grazefall::qtui {

ConfigurationDialog::ConfigurationDialog(SheetServices& services, platform::SettingsStore& store,
                                         QWidget* parent)
    : QDialog(parent), sheet_(std::make_unique<PropertySheet>(services, store)) {
  setWindowTitle(QString::fromUtf8(kSheetCaption.data(), kSheetCaption.size()));
  setWindowIcon(ProgramIcon());
  setModal(true);
  // The pages are laid out for an 8-point font whose base units are 6 x 13.
  // A narrow sans serif keeps the longer check box texts inside the page.
  QFont pageFont = font();
  pageFont.setFamilies(
      {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans Condensed", "DejaVu Sans"});
  pageFont.setPixelSize(11);
  pageFont.setStretch(QFont::SemiCondensed);
  setFont(pageFont);

  tabs_ = new QTabWidget(this);
  // Every title stays in view; the tab row may make the sheet wider than a
  // page, and the page then sits in the middle.
  tabs_->setUsesScrollButtons(false);
  tabs_->setElideMode(Qt::ElideNone);
  for (size_t i = 0; i < kSheetPageCount; ++i) {
    const PageTemplate& layout = sheet_->pageTemplate(i);
    auto* holder = new QWidget(tabs_);
    auto* centring = new QHBoxLayout(holder);
    centring->setContentsMargins(0, 0, 0, 0);
    pages_[i] = new PageWidget(layout, holder);
    centring->addWidget(pages_[i], 0, Qt::AlignHCenter | Qt::AlignTop);
    tabs_->addTab(holder, QString::fromUtf8(layout.title.data(), layout.title.size()));
    connect(pages_[i], &PageWidget::commandIssued, this,
            [this, i](int id, int notifyCode) { runCommand(i, id, notifyCode); });
    connect(pages_[i], &PageWidget::sliderMoved, this, [this, i] { moveSlider(i); });
  }

  buttons_ = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons_, &QDialogButtonBox::accepted, this, &ConfigurationDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &ConfigurationDialog::reject);
  connect(buttons_, &QDialogButtonBox::helpRequested, this, [this] {
    pullCurrent();
    sheet_->help();
    pushAll();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  sheet_->open();
  tabs_->setCurrentIndex(0);
  pushAll();
  connect(tabs_, &QTabWidget::currentChanged, this, &ConfigurationDialog::showPage);
}

ConfigurationDialog::~ConfigurationDialog() = default;

QWidget* ConfigurationDialog::control(size_t pageIndex, int32_t id) const {
  return pageIndex < pages_.size() ? pages_[pageIndex]->control(id) : nullptr;
}

QPushButton* ConfigurationDialog::okButton() const {
  return buttons_->button(QDialogButtonBox::Ok);
}
QPushButton* ConfigurationDialog::cancelButton() const {
  return buttons_->button(QDialogButtonBox::Cancel);
}
QPushButton* ConfigurationDialog::helpButton() const {
  return buttons_->button(QDialogButtonBox::Help);
}

void ConfigurationDialog::accept() {
  if (closed_ || saving_) return;
  pullCurrent();
  // A failed save has shown its message box (a nested event loop, in which
  // Cancel may have been asked for); the dialog stays open with everything
  // the user chose.
  saving_ = true;
  const bool saved = sheet_->ok();
  saving_ = false;
  if (!saved) {
    pushAll();
    if (cancelAfterSave_) reject();
    return;
  }
  closed_ = true;
  QDialog::accept();
}

void ConfigurationDialog::reject() {
  if (closed_) return;
  if (saving_) {
    cancelAfterSave_ = true;
    return;
  }
  closed_ = true;
  sheet_->cancel();
  QDialog::reject();
}

void ConfigurationDialog::showPage(int index) {
  if (index < 0 || closed_) return;
  pullCurrent();
  sheet_->selectPage(static_cast<size_t>(index));
  pushAll();
}

void ConfigurationDialog::runCommand(size_t pageIndex, int id, int notifyCode) {
  if (closed_ || pageIndex != sheet_->currentPage()) return;
  pullCurrent();
  sheet_->command(id, notifyCode);
  pushAll();
}

void ConfigurationDialog::moveSlider(size_t pageIndex) {
  if (closed_ || pageIndex != sheet_->currentPage()) return;
  pullCurrent();
  sheet_->sliderMoved();
  pushAll();
}

void ConfigurationDialog::pullCurrent() {
  const size_t current = sheet_->currentPage();
  pages_[current]->pull(sheet_->controls(current));
}

void ConfigurationDialog::pushAll() {
  for (size_t i = 0; i < kSheetPageCount; ++i) {
    if (sheet_->isCreated(i)) pages_[i]->push(sheet_->controls(i));
  }
}

namespace {

// Qt cannot start its widgets without somewhere to show them.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

// Closes every dialog showing besides `keep`: the boxes and pickers a page
// opened over the sheet.
void CloseOtherDialogs(const QDialog* keep) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* other = qobject_cast<QDialog*>(widget);
    if (other != nullptr && other != keep && other->isVisible()) other->reject();
  }
}

}  // namespace

int ShowConfigurationSheet(int argc, char** argv, platform::SettingsStore& store) {
  std::unique_ptr<QApplication> application;
  // QApplication keeps a reference to the count for its whole life.
  static int applicationArgc = 0;
  if (QApplication::instance() == nullptr) {
    if (!HasDisplay()) {
      std::fputs("grazefall: no display to show the settings dialog on\n", stderr);
      return 1;
    }
    applicationArgc = argc;
    application = std::make_unique<QApplication>(applicationArgc, argv);
  }

  int result = 1;
  {
    // A TERM or INT (a logout, a supervisor, Ctrl+C) closes the dialog as
    // Cancel does, message boxes and the folder picker first.
    StopSignals stopSignals;
    ConfigurationDialog* dialogShown = nullptr;
    bool stopRequested = false;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, [&] {
      stopRequested = true;
      CloseOtherDialogs(dialogShown);
      if (dialogShown != nullptr) dialogShown->reject();
    });
    QtSheetServices services;
    ConfigurationDialog dialog(services, store);
    services.setOwner(&dialog);
    dialogShown = &dialog;
    if (stopRequested) {
      dialog.reject();
    } else {
      result = dialog.exec() == QDialog::Accepted ? 0 : 1;
    }
  }
  return result;
}

}  // namespace grazefall::qtui
