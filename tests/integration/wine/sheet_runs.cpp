#include "sheet_runs.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <sddl.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sheet_edits.h"
#include "sheet_hands.h"

namespace wine_test {
namespace {

using namespace grazefall;

constexpr DWORD kPatienceMs = 30000;
constexpr const char* kStoreKey = "Control Panel\\Desktop\\ScreenSavers\\Grazefall";
constexpr std::array<const char*, 5> kStoreValues{"Options", "Classic", "Invasion", "Halloween",
                                                  "Custom"};
// Where the thumb may stand off the place its value gives, in pixels: the
// control rounds the thumb's place to whole pixels.
constexpr int kThumbSlack = 2;

int Fail(const std::string& what) {
  std::fprintf(stderr, "wine_driver: %s\n", what.c_str());
  return 1;
}

HWND WaitForSheet() {
  HWND sheet = nullptr;
  WaitUntil(
      [&] {
        sheet = FindWindowA("#32770", "Grazefall");
        return sheet != nullptr && IsWindowVisible(sheet);
      },
      kPatienceMs);
  return sheet;
}

std::string Number(LRESULT value) {
  return std::to_string(static_cast<long long>(value));
}

// Where a slider's thumb stands and where its position and range put it.
struct ThumbReading {
  bool read = false;
  int32_t position = 0;
  int32_t minimum = 0;
  int32_t maximum = 0;
  LONG thumbLeft = 0;
  LONG expectedLeft = 0;
  std::string describe() const {
    return "position " + Number(position) + " in " + Number(minimum) + ".." + Number(maximum) +
           ", thumb at x " + Number(thumbLeft) + " where " + Number(expectedLeft) + " belongs";
  }
  bool matches() const {
    return read && thumbLeft >= expectedLeft - kThumbSlack &&
           thumbLeft <= expectedLeft + kThumbSlack;
  }
};

ThumbReading ReadThumb(SheetHands& hands, HWND slider) {
  ThumbReading reading;
  reading.position = static_cast<int32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
  reading.minimum = static_cast<int32_t>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
  reading.maximum = static_cast<int32_t>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
  const std::optional<RECT> thumb = hands.remote().askRect(slider, TBM_GETTHUMBRECT);
  const std::optional<RECT> channel = hands.remote().askRect(slider, TBM_GETCHANNELRECT);
  if (!thumb || !channel || reading.maximum <= reading.minimum) return reading;
  // The thumb travels the channel from its left end (the minimum) until its
  // right edge meets the channel's right end (the maximum).
  const LONG travel = (channel->right - channel->left) - (thumb->right - thumb->left);
  reading.thumbLeft = thumb->left;
  reading.expectedLeft = channel->left + static_cast<LONG>(static_cast<int64_t>(travel) *
                                                           (reading.position - reading.minimum) /
                                                           (reading.maximum - reading.minimum));
  reading.read = true;
  return reading;
}

// The slider's position is the value its label shows, and its thumb stands
// where that value belongs; waits for the page to paint.
bool CheckSlider(SheetHands& hands, const SliderEdit& edit, const std::string& when) {
  HWND slider = hands.control(edit.slider);
  HWND label = hands.control(edit.label);
  if (slider == nullptr || label == nullptr)
    return Fail(when + ": no slider " + Number(edit.slider)) == 0;
  const int32_t minimum = static_cast<int32_t>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
  const int32_t maximum = static_cast<int32_t>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
  if (minimum != edit.minimum || maximum != edit.maximum) {
    Fail(when + ": slider " + Number(edit.slider) + " has the range " + Number(minimum) + ".." +
         Number(maximum));
    return false;
  }
  ThumbReading reading;
  const bool placed = WaitUntil(
      [&] {
        reading = ReadThumb(hands, slider);
        return reading.matches() && Number(reading.position) == TextOf(label);
      },
      3000);
  std::printf("%s: slider %d label %s, %s\n", when.c_str(), static_cast<int>(edit.slider),
              TextOf(label).c_str(), reading.describe().c_str());
  if (!placed) {
    Fail(when + ": slider " + Number(edit.slider) + " label " + TextOf(label) + ", " +
         reading.describe());
  }
  return placed;
}

bool CheckSlidersOf(SheetHands& hands, int page, const std::string& when) {
  bool all = true;
  for (const SliderEdit& edit : kSliderEdits) {
    if (edit.page == page) all = CheckSlider(hands, edit, when) && all;
  }
  return all;
}

bool ShowPage(SheetHands& hands, int index) {
  if (hands.showPage(index)) return true;
  Fail("the sheet did not show page " + Number(index) + " after its tab was clicked");
  return false;
}

// Clicks a scenario's banner; the row's "selected" mark must show.
bool ChooseScenario(SheetHands& hands, int32_t banner, int32_t selectedMark) {
  if (!hands.clickControl(banner)) return Fail("no banner " + Number(banner)) == 0;
  if (!WaitUntil([&] { return IsWindowVisible(hands.control(selectedMark)) != FALSE; })) {
    return Fail("clicking banner " + Number(banner) + " did not mark its row") == 0;
  }
  return true;
}

bool IsChecked(SheetHands& hands, int32_t id) {
  return SendMessageA(hands.control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool EditSlider(SheetHands& hands, const SliderEdit& edit) {
  HWND slider = hands.control(edit.slider);
  HWND label = hands.control(edit.label);
  if (slider == nullptr || !IsWindowEnabled(slider)) {
    return Fail("slider " + Number(edit.slider) + " is missing or greyed out") == 0;
  }
  // A click on the thumb gives the slider the keyboard and leaves it where it is.
  const std::optional<RECT> thumb = hands.remote().askRect(slider, TBM_GETTHUMBRECT);
  if (!thumb) return Fail("could not find the thumb of slider " + Number(edit.slider)) == 0;
  const int32_t before = static_cast<int32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
  hands.clickAt(slider, POINT{(thumb->left + thumb->right) / 2, (thumb->top + thumb->bottom) / 2});
  if (!WaitUntil([&] { return hands.focus() == slider; })) {
    return Fail("clicking the thumb of slider " + Number(edit.slider) + " gave it no focus") == 0;
  }
  if (SendMessageA(slider, TBM_GETPOS, 0, 0) != before) {
    return Fail("clicking the thumb of slider " + Number(edit.slider) + " moved it") == 0;
  }
  std::vector<std::pair<UINT, int32_t>> presses{{VK_END, edit.maximum}, {VK_HOME, edit.minimum}};
  for (int32_t step = 1; step <= edit.stepsBack; ++step)
    presses.push_back({VK_RIGHT, edit.minimum + step});
  for (const auto& [key, value] : presses) {
    hands.pressKey(key);
    const bool moved = WaitUntil([&] {
      return SendMessageA(slider, TBM_GETPOS, 0, 0) == value && TextOf(label) == Number(value);
    });
    if (!moved) {
      return Fail("slider " + Number(edit.slider) + " did not reach " + Number(value) + " (at " +
                  Number(SendMessageA(slider, TBM_GETPOS, 0, 0)) + ", label " + TextOf(label) +
                  ")") == 0;
    }
    if (value == edit.maximum || value == edit.minimum) {
      if (!CheckSlider(hands, edit, "at the end " + Number(value))) return false;
    }
  }
  return true;
}

// The checked buttons of the page's other radio groups, which a click in
// this group must leave alone.
std::string OtherGroupsChecked(SheetHands& hands, const RadioEdit& edit) {
  std::string checked;
  for (const RadioEdit& other : kRadioEdits) {
    if (other.page != edit.page || &other == &edit) continue;
    for (int32_t member : other.group) {
      if (member != 0 && IsChecked(hands, member)) checked += " " + Number(member);
    }
  }
  return checked;
}

bool EditRadios(SheetHands& hands, const RadioEdit& edit) {
  for (int32_t button : edit.clicks) {
    const std::string others = OtherGroupsChecked(hands, edit);
    if (!hands.clickControl(button))
      return Fail("radio button " + Number(button) + " is not usable") == 0;
    const bool alone = WaitUntil([&] {
      for (int32_t member : edit.group) {
        if (member != 0 && IsChecked(hands, member) != (member == button)) return false;
      }
      return true;
    });
    if (!alone) {
      std::string checked;
      for (int32_t member : edit.group) {
        if (member != 0 && IsChecked(hands, member)) checked += " " + Number(member);
      }
      return Fail("clicking radio button " + Number(button) + " leaves checked:" + checked) == 0;
    }
    if (OtherGroupsChecked(hands, edit) != others) {
      return Fail("clicking radio button " + Number(button) + " changed the other groups from" +
                  others + " to" + OtherGroupsChecked(hands, edit)) == 0;
    }
  }
  return true;
}

bool EditBox(SheetHands& hands, const BoxEdit& edit) {
  for (int click = 0; click < kBoxClicks; ++click) {
    const bool was = IsChecked(hands, edit.box);
    if (!hands.clickControl(edit.box))
      return Fail("check box " + Number(edit.box) + " is not usable") == 0;
    if (!WaitUntil([&] { return IsChecked(hands, edit.box) != was; })) {
      return Fail("clicking check box " + Number(edit.box) + " did not change it") == 0;
    }
  }
  return true;
}

// Opens the resolution list with a click, steps to the next mode (or the one
// before, at the end of the list) and closes it with Enter.
bool PickResolution(SheetHands& hands) {
  HWND list = hands.control(effects_ids::kModeList);
  if (list == nullptr) return Fail("no resolution list") == 0;
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  const LRESULT before = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (count < 2) return Fail("the resolution list offers " + Number(count) + " modes") == 0;
  const LRESULT wanted = before + 1 < count ? before + 1 : before - 1;
  hands.click(list);
  if (!WaitUntil([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != FALSE; })) {
    return Fail("clicking the resolution list did not open it") == 0;
  }
  hands.pressKey(wanted > before ? VK_DOWN : VK_UP);
  hands.pressKey(VK_RETURN);
  const bool picked = WaitUntil([&] {
    return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) == FALSE &&
           SendMessageA(list, CB_GETCURSEL, 0, 0) == wanted;
  });
  if (!picked) {
    return Fail("the resolution list shows entry " +
                Number(SendMessageA(list, CB_GETCURSEL, 0, 0)) + ", not " + Number(wanted)) == 0;
  }
  std::printf("mode %s\n", TextOf(list).c_str());
  return true;
}

// Picks the second picture of the listed folder.
bool PickPicture(SheetHands& hands) {
  HWND list = hands.control(background_ids::kFileList);
  if (list == nullptr || !IsWindowEnabled(list)) return Fail("the picture list is not usable") == 0;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) != 2) {
    return Fail("the picture list holds " + Number(SendMessageA(list, LB_GETCOUNT, 0, 0)) +
                " entries, not the folder's two") == 0;
  }
  // Sorted: the picked picture's name sorts after the stored one.
  const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  hands.clickAt(list, POINT{10, static_cast<LONG>(height + height / 2)});
  HWND name = hands.control(background_ids::kFileNameLabel);
  if (!WaitUntil([&] { return TextOf(name) == kPickedPicture; })) {
    return Fail("picking a picture shows \"" + TextOf(name) + "\" as its name") == 0;
  }
  return true;
}

bool AskTheCow(SheetHands& hands) {
  HWND question = hands.control(xanadu_ids::kQuestion);
  if (question == nullptr) return Fail("no question box") == 0;
  hands.click(question);
  if (!WaitUntil([&] { return hands.focus() == question; }))
    return Fail("the question box took no focus") == 0;
  hands.type(std::string(kQuestion));
  if (!WaitUntil([&] { return TextOf(question) == kQuestion; })) {
    return Fail("the question box (style " + Number(GetWindowLongA(question, GWL_STYLE)) +
                ") holds \"" + TextOf(question) + "\"") == 0;
  }
  HWND answer = hands.control(xanadu_ids::kAnswer);
  const std::string before = TextOf(answer);
  if (!hands.clickControl(xanadu_ids::kAsk)) return Fail("the Ask button is not usable") == 0;
  if (!WaitUntil([&] { return TextOf(answer) != before; }))
    return Fail("the cow gave no answer") == 0;
  std::string shown;
  for (char c : TextOf(answer)) {
    if (c == '\n')
      shown += "\\n";
    else if (c != '\r')
      shown += c;
  }
  std::printf("answer %s\n", shown.c_str());
  return true;
}

// Every edit of sheet_edits.h, through all seven pages, ending on the Herd page.
bool MakeEdits(SheetHands& hands) {
  if (!ChooseScenario(hands, scenarios_ids::kCustomBanner, scenarios_ids::kCustomSelected))
    return false;
  for (int page = 1; page < kPageCount; ++page) {
    if (!ShowPage(hands, page)) return false;
    for (const SliderEdit& edit : kSliderEdits) {
      if (edit.page == page && !EditSlider(hands, edit)) return false;
    }
    for (const RadioEdit& edit : kRadioEdits) {
      if (edit.page == page && !EditRadios(hands, edit)) return false;
    }
    for (const BoxEdit& edit : kBoxEdits) {
      if (edit.page == page && !EditBox(hands, edit)) return false;
    }
    if (page == kEffectsPage && !PickResolution(hands)) return false;
    if (page == kBackgroundPage && !PickPicture(hands)) return false;
    if (page == kXanaduPage && !AskTheCow(hands)) return false;
  }
  // Back where the sliders were moved: they still show the edits.
  return ShowPage(hands, kHerdPage) && CheckSlidersOf(hands, kHerdPage, "back on the Herd page");
}

std::map<std::string, std::vector<BYTE>> ReadStore() {
  std::map<std::string, std::vector<BYTE>> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  for (const char* name : kStoreValues) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) continue;
    std::vector<BYTE> bytes(size);
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &size) == ERROR_SUCCESS) {
      bytes.resize(size);
      values[name] = bytes;
    }
  }
  RegCloseKey(key);
  return values;
}

// Gives the store's key a security descriptor in the string form.
bool SetStoreSecurity(const char* descriptor) {
  PSECURITY_DESCRIPTOR security = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptor, SDDL_REVISION_1, &security,
                                                            nullptr)) {
    return false;
  }
  HKEY key = nullptr;
  bool set = RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS;
  if (set) {
    set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  LocalFree(security);
  return set;
}

// Everyone may read the key and change its security, nobody may set a value
// or create a subkey; then everyone may do everything again.
constexpr const char* kRefuseWrites = "D:(D;;0x0006;;;WD)(A;;KA;;;WD)";
constexpr const char* kAllowAll = "D:(A;;KA;;;WD)";

// Whether the key now refuses what the store does to save: opened for
// writing.
bool StoreRefusesWrites() {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0,
                                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status != ERROR_SUCCESS;
}

struct MessageBoxFinder {
  HWND sheet;
  HWND found = nullptr;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM param) {
  auto* finder = reinterpret_cast<MessageBoxFinder*>(param);
  char className[16] = {};
  GetClassNameA(window, className, sizeof(className));
  if (window != finder->sheet && std::string(className) == "#32770" && IsWindowVisible(window)) {
    finder->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND SheetMessageBox(HWND sheet) {
  MessageBoxFinder finder{sheet};
  EnumThreadWindows(GetWindowThreadProcessId(sheet, nullptr), FindMessageBox,
                    reinterpret_cast<LPARAM>(&finder));
  return finder.found;
}

bool PressAndWaitForClose(SheetHands& hands, int button) {
  HWND sheet = hands.sheet();
  hands.click(GetDlgItem(sheet, button));
  if (WaitUntil([&] { return IsWindow(sheet) == FALSE; }, kPatienceMs)) return true;
  Fail("the sheet did not close");
  return false;
}

// OK while the key refuses writes: one message, the sheet open on its page,
// every stored byte as it was. Then OK again with the key writable.
bool FailingSave(SheetHands& hands) {
  const auto before = ReadStore();
  if (before.size() != kStoreValues.size())
    return Fail("the store does not hold its five values") == 0;
  if (!SetStoreSecurity(kRefuseWrites))
    return Fail("could not make the store's key refuse writes") == 0;
  if (!StoreRefusesWrites()) {
    SetStoreSecurity(kAllowAll);
    return Fail("the store's key still takes writes after its security refused them") == 0;
  }
  const int page = hands.currentPageIndex();
  HWND sheet = hands.sheet();
  hands.click(GetDlgItem(sheet, IDOK));
  HWND message = nullptr;
  if (!WaitUntil([&] { return (message = SheetMessageBox(sheet)) != nullptr; })) {
    SetStoreSecurity(kAllowAll);
    return Fail("OK on a store that refuses writes showed no message") == 0;
  }
  const std::string text = TextOf(GetDlgItem(message, 0xFFFF));
  std::printf("message \"%s\"\n", text.c_str());
  const bool told = text.find("could not be saved") != std::string::npos;
  hands.click(GetDlgItem(message, IDOK));
  const bool dismissed = WaitUntil([&] { return IsWindow(message) == FALSE; });
  Sleep(300);
  const bool stayed = IsWindow(sheet) && IsWindowVisible(sheet) && hands.currentPageIndex() == page;
  const bool kept = ReadStore() == before;
  const bool restored = SetStoreSecurity(kAllowAll);
  if (!told) return Fail("the message does not say the settings could not be saved") == 0;
  if (!dismissed) return Fail("the message did not close on its OK") == 0;
  if (!stayed) return Fail("the sheet did not stay open on page " + Number(page)) == 0;
  if (!kept) return Fail("the refused save changed the stored values") == 0;
  if (!restored) return Fail("could not make the store's key writable again") == 0;
  if (SheetMessageBox(sheet) != nullptr) return Fail("a second message is showing") == 0;
  return PressAndWaitForClose(hands, IDOK);
}

}  // namespace

int SheetThumbs() {
  HWND sheet = WaitForSheet();
  if (sheet == nullptr) return Fail("the settings sheet never appeared");
  SheetHands hands(sheet);
  if (!hands.ready()) return Fail("cannot reach the sheet's process");
  struct Choice {
    const char* name;
    int32_t banner;
    int32_t mark;
  };
  // The store starts on Classic: the sliders are checked as first shown,
  // then after each choice, Classic last.
  constexpr std::array<Choice, 4> kChoices{{
      {"Invasion", scenarios_ids::kInvasionBanner, scenarios_ids::kInvasionSelected},
      {"Halloween", scenarios_ids::kHalloweenBanner, scenarios_ids::kHalloweenSelected},
      {"Custom", scenarios_ids::kCustomBanner, scenarios_ids::kCustomSelected},
      {"Classic", scenarios_ids::kClassicBanner, scenarios_ids::kClassicSelected},
  }};
  bool all = true;
  for (int page : {kHerdPage, kWindPage}) {
    all = ShowPage(hands, page) && CheckSlidersOf(hands, page, "Classic as stored") && all;
  }
  for (const Choice& choice : kChoices) {
    if (!ShowPage(hands, kScenariosPage) || !ChooseScenario(hands, choice.banner, choice.mark))
      return 1;
    for (int page : {kWindPage, kHerdPage}) {
      all = ShowPage(hands, page) && CheckSlidersOf(hands, page, choice.name) && all;
    }
  }
  return all ? 0 : 1;
}

int SheetEdits(const std::string& ending) {
  if (ending != "ok" && ending != "cancel" && ending != "fail")
    return Fail("unknown ending " + ending);
  HWND sheet = WaitForSheet();
  if (sheet == nullptr) return Fail("the settings sheet never appeared");
  SheetHands hands(sheet);
  if (!hands.ready()) return Fail("cannot reach the sheet's process");
  if (!MakeEdits(hands)) return 1;
  if (ending == "fail") return FailingSave(hands) ? 0 : 1;
  return PressAndWaitForClose(hands, ending == "ok" ? IDOK : IDCANCEL) ? 0 : 1;
}

int SheetPress(const std::string& button) {
  HWND sheet = WaitForSheet();
  if (sheet == nullptr) return Fail("the settings sheet never appeared");
  SheetHands hands(sheet);
  return PressAndWaitForClose(hands, button == "ok" ? IDOK : IDCANCEL) ? 0 : 1;
}

}  // namespace wine_test
