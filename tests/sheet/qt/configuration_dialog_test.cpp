// The settings dialog with real Qt widgets on the offscreen platform: clicks,
// keys and tab changes reach the pages as a user's would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"
#include "sheet/page_ids.h"
#include "sheet/qt/configuration_dialog.h"
#include "sheet/qt/help_location.h"
#include "sheet/qt/qt_sheet_services.h"
#include "sheet/qt/stop_signals.h"
#include "tests/support/first_run_records.h"
#include "tests/support/scoped_env.h"

namespace grazefall::qtui {
namespace {

constexpr size_t kScenarios = 0, kHerd = 1, kWind = 2, kEffects = 3, kBackground = 4, kXanadu = 5,
                 kLiff = 6;

// The real Qt services, except that nothing modal opens: the folder picker
// answers what the test set, messages and help requests are recorded; the
// display modes are those of a platform the test arranges.
class ScriptedServices : public QtSheetServices {
 public:
  explicit ScriptedServices(platform::Platform& modes) : modes_(modes) {}
  std::optional<std::string> folder;
  std::vector<std::string> messages;
  int helpRequests = 0;

  platform::DisplayModes* displayModes() override {
    display_ = modes_.createDisplayDevice();
    return display_.get();
  }

  std::optional<std::string> browseForDirectory(std::string_view) override { return folder; }
  void showMessage(std::string_view text, std::string_view caption) override {
    messages.push_back(std::string(caption) + ": " + std::string(text));
  }
  void openHelp() override { ++helpRequests; }

 private:
  platform::Platform& modes_;
  std::unique_ptr<platform::DisplayDevice> display_;
};

void StartApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_platform_qt";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

class ConfigurationDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartApplication(); }

  ConfigurationDialogTest() { activeOptions = classicPreset; }
  ~ConfigurationDialogTest() override {
    dialog_.reset();
    activeOptions = classicPreset;
  }

  void storeOptions(const ScenarioOptions& options) {
    ASSERT_TRUE(testing::StoreFirstRunRecords(platform_.memoryStore(), options));
  }
  ScenarioOptions stored(std::string_view name) {
    ScenarioOptions record{};
    const auto& values = platform_.memoryStore().values();
    auto found = values.find(name);
    if (found != values.end() && found->second.size() == sizeof record) {
      std::memcpy(&record, found->second.data(), sizeof record);
    }
    return record;
  }

  ConfigurationDialog& open() {
    dialog_ = std::make_unique<ConfigurationDialog>(services_, platform_.settingsStore());
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    return *dialog_;
  }
  void showTab(size_t index) {
    QTabBar* bar = dialog_->tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(index)).center());
    ASSERT_EQ(dialog_->tabs()->currentIndex(), static_cast<int>(index));
  }
  template <typename T>
  T* widget(size_t page, int32_t id) {
    T* found = qobject_cast<T*>(dialog_->control(page, id));
    EXPECT_NE(found, nullptr) << "control " << id << " on page " << page;
    return found;
  }
  void click(QWidget* target) {
    QTest::mouseClick(target, Qt::LeftButton, {}, QRect(QPoint(), target->size()).center());
  }
  // A stretched radio button or check box is clicked on its indicator.
  void clickIndicator(QWidget* target) {
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(6, target->height() / 2));
  }

  platform::HeadlessPlatform platform_;
  ScriptedServices services_{platform_};
  std::unique_ptr<ConfigurationDialog> dialog_;
};

TEST_F(ConfigurationDialogTest, IsTheGrazefallSheetWithSevenTabsAndNoApply) {
  storeOptions(classicPreset);
  ConfigurationDialog& dialog = open();
  EXPECT_EQ(dialog.windowTitle(), "Grazefall");
  EXPECT_FALSE(dialog.windowIcon().isNull());
  QStringList titles;
  for (int i = 0; i < dialog.tabs()->count(); ++i) titles << dialog.tabs()->tabText(i);
  EXPECT_EQ(titles, (QStringList{"Scenarios", "Herd", "Wind", "Effects", "Background", "Xanadu",
                                 "The Meaning of Liff"}));
  EXPECT_NE(dialog.okButton(), nullptr);
  EXPECT_NE(dialog.cancelButton(), nullptr);
  ASSERT_NE(dialog.helpButton(), nullptr);
  EXPECT_EQ(dialog.findChildren<QPushButton*>("Apply").size(), 0);

  // Every page is 282 x 153 dialog units.
  EXPECT_EQ(dialog.page(kLiff)->size(), QSize(423, 248));
  click(dialog.helpButton());
  EXPECT_EQ(services_.helpRequests, 1);
}

TEST_F(ConfigurationDialogTest, InvasionChosenWhileCustomIsActiveShowsOnTheHerdPageDisabled) {
  ScenarioOptions custom = customPreset;
  custom.herdSize = 321;
  storeOptions(custom);
  open();
  click(widget<QLabel>(kScenarios, scenarios_ids::kInvasionBanner));
  EXPECT_TRUE(widget<QLabel>(kScenarios, scenarios_ids::kInvasionSelected)->isVisible());
  EXPECT_FALSE(widget<QLabel>(kScenarios, scenarios_ids::kCustomSelected)->isVisible());

  showTab(kHerd);
  EXPECT_EQ(stored("Custom").herdSize, 321);
  EXPECT_EQ(widget<QLabel>(kHerd, herd_ids::kHerdLabel)->text(), "500");
  EXPECT_FALSE(widget<QSlider>(kHerd, herd_ids::kHerdSlider)->isEnabled());
  auto* random = widget<QRadioButton>(kHerd, herd_ids::kRandomSize);
  EXPECT_TRUE(random->isChecked());
  EXPECT_FALSE(random->isEnabled());
}

TEST_F(ConfigurationDialogTest, CustomHerdSliderToItsEndThenOkStoresTenThousand) {
  storeOptions(customPreset);
  ConfigurationDialog& dialog = open();
  showTab(kHerd);
  auto* slider = widget<QSlider>(kHerd, herd_ids::kHerdSlider);
  ASSERT_TRUE(slider->isEnabled());
  // Drag the handle past the slider's right end.
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = Qt::Horizontal;
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = slider->value();
  option.sliderValue = slider->value();
  const QRect handle =
      slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  QTest::mousePress(slider, Qt::LeftButton, {}, handle.center());
  QTest::mouseMove(slider, QPoint(slider->width() / 2, handle.center().y()));
  QTest::mouseMove(slider, QPoint(slider->width() + 40, handle.center().y()));
  QTest::mouseRelease(slider, Qt::LeftButton, {},
                      QPoint(slider->width() + 40, handle.center().y()));
  EXPECT_EQ(slider->value(), 10000);
  EXPECT_EQ(widget<QLabel>(kHerd, herd_ids::kHerdLabel)->text(), "10000");
  clickIndicator(widget<QRadioButton>(kHerd, herd_ids::kTiny));
  clickIndicator(widget<QRadioButton>(kHerd, herd_ids::kHeadingUpButton));
  EXPECT_FALSE(widget<QRadioButton>(kHerd, herd_ids::kRandomSize)->isChecked());

  click(dialog.okButton());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const ScenarioOptions saved = stored("Options");
  EXPECT_EQ(saved.herdSize, 10000);
  EXPECT_EQ(saved.cowSize, kCowTiny);
  EXPECT_EQ(saved.heading, kHeadingUp);
  EXPECT_EQ(saved.windDirection, -1);
}

TEST_F(ConfigurationDialogTest, CancelAfterClickingABannerWritesNothing) {
  storeOptions(classicPreset);
  ConfigurationDialog& dialog = open();
  const int writes = platform_.memoryStore().writes();
  click(widget<QLabel>(kScenarios, scenarios_ids::kHalloweenBanner));
  click(dialog.cancelButton());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(platform_.memoryStore().writes(), writes);
  EXPECT_EQ(ScenarioNameOf(stored("Options")), "Classic");
}

TEST_F(ConfigurationDialogTest, WindAndEffectsEditsReachTheStoreOnOk) {
  platform_.setCurrentMode({1024, 768, 32});
  platform_.setOfferedModes({{640, 480, 4}, {800, 600, 16}, {1024, 768, 32}});
  storeOptions(customPreset);
  ConfigurationDialog& dialog = open();
  showTab(kWind);
  clickIndicator(widget<QRadioButton>(kWind, wind_ids::kDown));
  EXPECT_FALSE(widget<QRadioButton>(kWind, wind_ids::kRandomUp)->isChecked());
  clickIndicator(widget<QCheckBox>(kWind, wind_ids::kWrapCows));

  showTab(kEffects);
  auto* modes = widget<QComboBox>(kEffects, effects_ids::kModeList);
  EXPECT_EQ(modes->currentText(), "800 x 600 x 16");
  click(widget<QPushButton>(kEffects, effects_ids::kUseActiveResolution));
  EXPECT_EQ(modes->currentText(), "1024 x 768 x 32");
  clickIndicator(widget<QCheckBox>(kEffects, effects_ids::kTearsOfBlood));

  click(dialog.okButton());
  const ScenarioOptions saved = stored("Options");
  EXPECT_EQ(saved.windDirection, 4);
  EXPECT_EQ(saved.wrapCows, 1);
  EXPECT_EQ(saved.tearsOfBlood, 1);
  EXPECT_EQ(saved.screenWidth, 1024);
  EXPECT_EQ(saved.screenBitDepth, 32);
}

TEST_F(ConfigurationDialogTest, NoDisplayObjectShowsTheErrorMessage) {
  storeOptions(classicPreset);
  open();
  platform_.failDisplayCreations(1);
  showTab(kEffects);
  EXPECT_EQ(services_.messages,
            (std::vector<std::string>{"Error: Error: Couldn't create DirectDraw object."}));
  EXPECT_EQ(widget<QComboBox>(kEffects, effects_ids::kModeList)->count(), 0);
}

TEST_F(ConfigurationDialogTest, BackgroundListsPreviewsAndStoresTheChosenBitmap) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QImage meadow(40, 30, QImage::Format_RGB32);
  meadow.fill(Qt::green);
  ASSERT_TRUE(meadow.save(folder.filePath("meadow.bmp"), "BMP"));
  ASSERT_TRUE(meadow.save(folder.filePath("Barn.BMP"), "BMP"));
  QFile note(folder.filePath("note.txt"));
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.close();
  services_.folder = folder.path().toStdString();

  storeOptions(classicPreset);
  ConfigurationDialog& dialog = open();
  showTab(kBackground);
  auto* list = widget<QListWidget>(kBackground, background_ids::kFileList);
  EXPECT_FALSE(list->isEnabled());
  clickIndicator(widget<QRadioButton>(kBackground, background_ids::kCenter));
  ASSERT_TRUE(list->isEnabled());
  click(widget<QPushButton>(kBackground, background_ids::kChangeDirectory));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "Barn.BMP");
  EXPECT_EQ(list->item(1)->text(), "meadow.bmp");
  EXPECT_EQ(widget<QLabel>(kBackground, background_ids::kDirectoryLabel)->text(),
            folder.path() + "/");

  QApplication::processEvents();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(widget<QLabel>(kBackground, background_ids::kFileNameLabel)->text(), "meadow.bmp");
  auto* preview = widget<QLabel>(kBackground, background_ids::kPreview);
  ASSERT_FALSE(preview->pixmap().isNull());
  EXPECT_EQ(preview->pixmap().size(), QSize(176, 167));
  EXPECT_EQ(preview->pixmap().toImage().pixelColor(80, 80), QColor(Qt::green));

  click(dialog.okButton());
  const ScenarioOptions saved = stored("Options");
  EXPECT_EQ(std::string(BackgroundPathOf(saved)), folder.filePath("meadow.bmp").toStdString());
  EXPECT_EQ(saved.backgroundMode, 1);
}

TEST_F(ConfigurationDialogTest, TheLiffGameRevealsThePinkCowOnTheSixthFind) {
  storeOptions(classicPreset);
  open();
  showTab(kLiff);
  using namespace liff_ids;
  auto* pink = widget<QLabel>(kLiff, kPinkCow);
  const std::vector<int32_t> hotSpots{kHiddenCow3, kHiddenCow1, kHiddenCow3,
                                      kHiddenCow6, kHiddenCow2, kHiddenCow5};
  for (int32_t id : hotSpots) click(widget<QLabel>(kLiff, id));
  EXPECT_FALSE(pink->isVisible());
  EXPECT_TRUE(widget<QLabel>(kLiff, kPortrait6)->isVisible());
  click(widget<QLabel>(kLiff, kHiddenCow4));
  EXPECT_TRUE(pink->isVisible());

  click(widget<QLabel>(kLiff, kQuestionMark));
  EXPECT_TRUE(widget<QLabel>(kLiff, kClueUpsideDown)->isVisible());
  click(pink);
  EXPECT_TRUE(widget<QLabel>(kLiff, kAnswerPicture)->isVisible());
  EXPECT_FALSE(widget<QLabel>(kLiff, kClueUpsideDown)->isVisible());
}

TEST_F(ConfigurationDialogTest, TheQuestionBoxCutsALongQuestionAndAskAnswers) {
  storeOptions(classicPreset);
  open();
  showTab(kXanadu);
  auto* question = widget<QLineEdit>(kXanadu, xanadu_ids::kQuestion);
  auto* answer = widget<QLabel>(kXanadu, xanadu_ids::kAnswer);
  EXPECT_TRUE(answer->text().startsWith("Ask me a question and I shall answer?"));
  question->setFocus();
  QTest::keyClicks(question, "why " + QString(400, 'o'));
  EXPECT_EQ(question->text().size(), 199);
  click(widget<QPushButton>(kXanadu, xanadu_ids::kAsk));
  EXPECT_FALSE(answer->text().isEmpty());
  EXPECT_FALSE(answer->text().startsWith("Ask me a question"));

  question->clear();
  click(widget<QPushButton>(kXanadu, xanadu_ids::kAsk));
  EXPECT_EQ(answer->text(), "*mumbles* can't hear you, give me a question!");
}

TEST_F(ConfigurationDialogTest, PagesShowTheProgramsPicturesAtTheirOwnSize) {
  storeOptions(classicPreset);
  ConfigurationDialog& dialog = open();
  auto* banner = widget<QLabel>(kScenarios, scenarios_ids::kClassicBanner);
  ASSERT_FALSE(banner->pixmap().isNull());
  EXPECT_EQ(banner->size(), banner->pixmap().size());

  // Every page can be drawn; with GRAZEFALL_SCREENSHOT_DIR set each is saved
  // there for a person to look at.
  const QString shots = qEnvironmentVariable("GRAZEFALL_SCREENSHOT_DIR");
  for (size_t i = 0; i < kSheetPageCount; ++i) {
    showTab(i);
    const QImage shot = dialog.grab().toImage();
    EXPECT_EQ(shot.size(), dialog.size());
    if (!shots.isEmpty()) shot.save(QDir(shots).filePath(QString("page-%1.png").arg(i + 1)));
  }
}

TEST_F(ConfigurationDialogTest, TheHelpPageIsFoundAndNamesEverySetting) {
  const QString help = FindHelpFile();
  ASSERT_FALSE(help.isEmpty());
  QFile file(help);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  for (const char* setting : {"Classic",
                              "Invasion",
                              "Halloween",
                              "Custom",
                              "Size of Herd",
                              "Size of Cows",
                              "Cow Falling Speed",
                              "Cow Heading",
                              "Wind Power",
                              "Wind Direction",
                              "Wrap cows",
                              "Make wind constant",
                              "Screen Resolution",
                              "Use active resolution",
                              "Explode the cows",
                              "Tears of Blood",
                              "conspiricy messages",
                              "inverted pyramid",
                              "Play the intro",
                              "Change Directory",
                              "No Background",
                              "Center Image on Screen",
                              "Stretch Image to fit Screen",
                              "Xanadu",
                              "The Meaning of Liff"}) {
    EXPECT_TRUE(text.contains(setting, Qt::CaseInsensitive)) << setting;
  }
}

// --- TERM and INT while the dialog shows ---

TEST(StopSignalsTest, TermAndIntReachTheGuiThreadAndTheOldHandlersComeBack) {
  StartApplication();
  static volatile sig_atomic_t oldHandlerRan = 0;
  struct sigaction old {};
  old.sa_handler = [](int) { oldHandlerRan = 1; };
  sigemptyset(&old.sa_mask);
  struct sigaction saved[2]{};
  ASSERT_EQ(sigaction(SIGTERM, &old, &saved[0]), 0);
  ASSERT_EQ(sigaction(SIGINT, &old, &saved[1]), 0);
  {
    StopSignals stop;
    ASSERT_TRUE(stop.isActive());
    int requests = 0;
    QObject::connect(&stop, &StopSignals::stopRequested, [&] { ++requests; });
    for (int signal : {SIGTERM, SIGINT}) {
      const int before = requests;
      ASSERT_EQ(::raise(signal), 0);
      EXPECT_TRUE(QTest::qWaitFor([&] { return requests > before; }, 5000)) << signal;
    }
    EXPECT_EQ(oldHandlerRan, 0);
  }
  ASSERT_EQ(::raise(SIGTERM), 0);
  EXPECT_EQ(oldHandlerRan, 1);
  sigaction(SIGTERM, &saved[0], nullptr);
  sigaction(SIGINT, &saved[1], nullptr);
}

// --- Saving into a settings folder that cannot be written ---

// Answers the message boxes that open while it lives, as a user would: notes
// each one's title and text and whether the dialog still showed behind it,
// then presses its OK button.
class MessageBoxAnswerer {
 public:
  struct Box {
    QString title;
    QString text;
    bool dialogShowing;
  };
  explicit MessageBoxAnswerer(const QWidget& dialog) : dialog_(dialog) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
    timer_.start(20);
  }
  std::vector<Box> boxes;

 private:
  void answer() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      boxes.push_back({box->windowTitle(), box->text(), dialog_.isVisible()});
      QAbstractButton* ok = box->button(QMessageBox::Ok);
      if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
    }
  }

  const QWidget& dialog_;
  QTimer timer_;
};

// The dialog over the store and services the program gives it, with
// XDG_CONFIG_HOME in a temporary directory. Blocking the folder puts a regular file where its
// parent was: no write gets past that, not even root's.
class SettingsFolderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartApplication(); }

  SettingsFolderTest() {
    activeOptions = classicPreset;
    configHomeSetting_.emplace("XDG_CONFIG_HOME", configHome().toUtf8().constData());
    store_.emplace(platform::DirectorySettingsStore::DefaultDirectory());
  }
  ~SettingsFolderTest() override {
    dialog_.reset();
    configHomeSetting_.reset();
    activeOptions = classicPreset;
  }

  QString configHome() const { return root_.path() + "/config"; }
  QString folder() const { return configHome() + "/grazefall"; }

  std::optional<ScenarioOptions> onDisk(std::string_view name) {
    platform::DirectorySettingsStore store(folder().toStdString());
    ScenarioOptions record{};
    size_t length = 0;
    if (store.read(name, std::as_writable_bytes(std::span(&record, 1)), &length) != platform::kOk ||
        length != sizeof record) {
      return std::nullopt;
    }
    return record;
  }

  void block() {
    ASSERT_TRUE(QDir(root_.path()).rename("config", "config.away"));
    QFile file(configHome());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  void unblock() {
    ASSERT_TRUE(QFile::remove(configHome()));
    ASSERT_TRUE(QDir(root_.path()).rename("config.away", "config"));
  }

  ConfigurationDialog& open() {
    dialog_ = std::make_unique<ConfigurationDialog>(services_, *store_);
    services_.setOwner(dialog_.get());
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    return *dialog_;
  }
  void click(QWidget* target) {
    QTest::mouseClick(target, Qt::LeftButton, {}, QRect(QPoint(), target->size()).center());
  }
  QWidget* banner(int32_t id) { return dialog_->control(kScenarios, id); }

  QTemporaryDir root_;
  std::optional<testing::ScopedEnv> configHomeSetting_;
  std::optional<platform::DirectorySettingsStore> store_;
  QtSheetServices services_;
  std::unique_ptr<ConfigurationDialog> dialog_;
};

TEST_F(SettingsFolderTest, AFailedSaveSaysWhereAndWhyOnceAndOkAgainSavesEverything) {
  ScenarioOptions custom = customPreset;
  custom.herdSize = 321;
  ASSERT_TRUE(testing::StoreFirstRunRecords(*store_, custom));
  ConfigurationDialog& dialog = open();
  click(banner(scenarios_ids::kInvasionBanner));

  // Leaving Custom stores the Custom record, then OK stores "Options": two
  // writes fail, one message box tells of them.
  block();
  {
    MessageBoxAnswerer answerer(dialog);
    click(dialog.okButton());
    QTest::qWait(100);
    ASSERT_EQ(answerer.boxes.size(), 1u);
    const MessageBoxAnswerer::Box& box = answerer.boxes.front();
    EXPECT_EQ(box.title, "Grazefall");
    EXPECT_TRUE(box.text.contains(folder())) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QString::fromUtf8(std::strerror(ENOTDIR))))
        << box.text.toStdString();
    EXPECT_TRUE(box.dialogShowing);
  }
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  // The folder mended, OK again keeps the user's Custom herd and the switch.
  unblock();
  {
    MessageBoxAnswerer answerer(dialog);
    click(dialog.okButton());
    EXPECT_TRUE(answerer.boxes.empty());
  }
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_TRUE(onDisk("Custom").has_value());
  EXPECT_EQ(onDisk("Custom")->herdSize, 321);
  ASSERT_TRUE(onDisk("Options").has_value());
  EXPECT_EQ(ScenarioNameOf(*onDisk("Options")), "Invasion");
}

TEST_F(SettingsFolderTest, CancelAfterAFailedSaveClosesTheDialogAndLeavesTheStore) {
  ConfigurationDialog& dialog = open();  // a first run: the folder is seeded
  ASSERT_TRUE(onDisk("Options").has_value());
  EXPECT_EQ(ScenarioNameOf(*onDisk("Options")), "Classic");
  click(banner(scenarios_ids::kHalloweenBanner));
  block();
  {
    MessageBoxAnswerer answerer(dialog);
    click(dialog.okButton());
    QTest::qWait(100);
    EXPECT_EQ(answerer.boxes.size(), 1u);
  }
  ASSERT_TRUE(dialog.isVisible());
  click(dialog.cancelButton());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  unblock();
  EXPECT_EQ(ScenarioNameOf(*onDisk("Options")), "Classic");
}

}  // namespace
}  // namespace grazefall::qtui
