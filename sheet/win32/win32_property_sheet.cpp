#include "sheet/win32/win32_property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

// prsht.h maps the name PropertySheet onto PropertySheetA; the page logic
// has a class of that name.
#undef PropertySheet

#include "sheet/owned_pictures.h"
#include "sheet/page_ids.h"
#include "sheet/property_sheet.h"
#include "sheet/sheet_closer.h"
#include "sheet/win32/win32_sheet_services.h"

namespace grazefall::platform::win32 {
namespace {

constexpr DWORD kSheetFlags = PSH_USEICONID | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP;
constexpr DWORD kPageFlags = PSP_USETITLE | PSP_HASHELP;

// What one page's real controls were last set to, so a mirror only touches
// what changed (and never rewrites an edit box the user is typing in).
struct PageWindow {
  HWND window = nullptr;
  std::map<int32_t, ControlState> mirrored;
};

struct SheetSession {
  HINSTANCE module = nullptr;
  std::optional<Win32SheetServices> services;
  std::optional<PropertySheet> logic;
  // Whether OK (saved) or Cancel has closed the logic's sheet.
  std::optional<SheetCloser> closer;
  std::array<PageWindow, kSheetPageCount> pages;
  OwnedPictures<HBITMAP, decltype(&DeleteObject)> pictures{&DeleteObject};
};

SheetSession* session = nullptr;

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::kRadioButton || kind == ControlKind::kCheckBox;
}

bool HasText(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic:
    case ControlKind::kEdit:
    case ControlKind::kGroupBox:
    case ControlKind::kPushButton:
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox:
      return true;
    default:
      return false;
  }
}

std::string WindowText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

// Dialog text uses CR LF line breaks; the page logic speaks LF.
std::string ToDialogText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The picture a model asks for, at `width` x `height` pixels (0: its own).
HBITMAP LoadControlPicture(const ControlState& state, int width, int height) {
  if (!state.pictureFile.empty()) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, state.pictureFile.c_str(), IMAGE_BITMAP, width,
                                           height, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  if (state.pictureId <= 0 || state.pictureId > 0xFFFF) return nullptr;
  return static_cast<HBITMAP>(LoadImageA(session->module, MAKEINTRESOURCEA(state.pictureId),
                                         IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION));
}

// The picture a control's template gives it (0 for none).
int32_t TemplatePicture(const PageTemplate& layout, int32_t id) {
  for (const ControlTemplate& control : layout.controls) {
    if (control.id == id) return control.pictureId;
  }
  return 0;
}

// A trackbar range as TBM_SETRANGE takes it: the minimum in the low word and
// the maximum in the high word, each a signed 16-bit number.
LPARAM SignedRangePair(int32_t minimum, int32_t maximum) {
  const auto low = static_cast<WORD>(static_cast<int16_t>(minimum));
  const auto high = static_cast<WORD>(static_cast<int16_t>(maximum));
  return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(low, high)));
}

void MirrorControl(const PageTemplate& layout, HWND page, int32_t id, const ControlState& state,
                   const ControlState* before) {
  HWND control = GetDlgItem(page, id);
  if (control == nullptr) return;
  const bool first = before == nullptr;
  if (first || before->shown != state.shown) ShowWindow(control, state.shown ? SW_SHOW : SW_HIDE);
  if (first || before->enabled != state.enabled) EnableWindow(control, state.enabled);
  if (HasText(state.kind) && (first || before->text != state.text)) {
    const std::string text = ToDialogText(state.text);
    if (WindowText(control) != text) SetWindowTextA(control, text.c_str());
  }
  if (IsButtonKind(state.kind) && (first || before->checked != state.checked)) {
    SendMessageA(control, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  switch (state.kind) {
    case ControlKind::kSlider: {
      // The trackbar places its thumb anew only when a position differs
      // from the one it holds, or, on its next paint, after TBM_SETRANGE
      // changed the range; TBM_SETRANGEMIN and TBM_SETRANGEMAX move nothing
      // unless they clip the position. So the range goes as one TBM_SETRANGE
      // with redraw on, and the position follows every range change: a value
      // of 0 on a new range of -5..5 belongs in the middle, not where 0 stood
      // on the trackbar's first range of 0..100.
      const bool newRange =
          first || before->rangeMin != state.rangeMin || before->rangeMax != state.rangeMax;
      if (newRange) {
        SendMessageA(control, TBM_SETRANGE, TRUE, SignedRangePair(state.rangeMin, state.rangeMax));
      }
      if (newRange || before->position != state.position) {
        SendMessageA(control, TBM_SETPOS, TRUE, state.position);
      }
      break;
    }
    case ControlKind::kListBox:
    case ControlKind::kComboBox: {
      const bool list = state.kind == ControlKind::kListBox;
      if (first || before->entries != state.entries) {
        SendMessageA(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : state.entries) {
          SendMessageA(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(entry.c_str()));
        }
      }
      SendMessageA(control, list ? LB_SETCURSEL : CB_SETCURSEL,
                   static_cast<WPARAM>(static_cast<intptr_t>(state.selection)), 0);
      break;
    }
    case ControlKind::kPicture: {
      // The template already shows its own bitmap; load only what differs.
      const bool unchanged =
          first ? state.pictureFile.empty() && state.pictureId == TemplatePicture(layout, id)
                : before->pictureId == state.pictureId && before->pictureFile == state.pictureFile;
      if (unchanged) break;
      // The background preview shows every picture at one size.
      const bool preview =
          layout.templateId == kBackgroundTemplateId && id == background_ids::kPreview;
      HBITMAP bitmap = LoadControlPicture(state, preview ? background_ids::kPreviewWidth : 0,
                                          preview ? background_ids::kPreviewHeight : 0);
      // The picture replaced is the template's own, which the control keeps,
      // or one loaded here before, which goes now.
      const auto replaced = reinterpret_cast<HBITMAP>(
          SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
      session->pictures.swapped(bitmap, replaced);
      InvalidateRect(control, nullptr, TRUE);
      break;
    }
    default:
      break;
  }
}

void Mirror(size_t index) {
  PageWindow& page = session->pages[index];
  if (page.window == nullptr) return;
  for (const auto& [id, state] : session->logic->controls(index).controls()) {
    if (id == kNoControlId) continue;
    auto found = page.mirrored.find(id);
    MirrorControl(session->logic->pageTemplate(index), page.window, id, state,
                  found == page.mirrored.end() ? nullptr : &found->second);
    page.mirrored[id] = state;
  }
}

// Reads what the user changed on a page back into its control model.
void ReadBack(size_t index) {
  PageWindow& page = session->pages[index];
  if (page.window == nullptr) return;
  ControlModel& model = session->logic->controls(index);
  for (const auto& [id, state] : model.controls()) {
    if (id == kNoControlId) continue;
    HWND control = GetDlgItem(page.window, id);
    if (control == nullptr) continue;
    switch (state.kind) {
      case ControlKind::kRadioButton:
      case ControlKind::kCheckBox:
        model.setChecked(id, SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
        break;
      case ControlKind::kEdit: {
        std::string text = WindowText(control);
        std::erase(text, '\r');
        model.setText(id, text);
        break;
      }
      case ControlKind::kSlider:
        model.setPosition(id, static_cast<int32_t>(SendMessageA(control, TBM_GETPOS, 0, 0)));
        break;
      case ControlKind::kListBox:
        model.setSelection(id, static_cast<int32_t>(SendMessageA(control, LB_GETCURSEL, 0, 0)));
        break;
      case ControlKind::kComboBox:
        model.setSelection(id, static_cast<int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0)));
        break;
      default:
        break;
    }
  }
  // What was just read is what the controls show; everything else keeps
  // its record, so the next mirror still sets what the logic changed.
  for (const auto& [id, state] : model.controls()) {
    auto shown = page.mirrored.find(id);
    if (shown == page.mirrored.end()) continue;
    shown->second.checked = state.checked;
    shown->second.position = state.position;
    shown->second.selection = state.selection;
    if (state.kind == ControlKind::kEdit) shown->second.text = state.text;
  }
}

bool Finished() {
  return session->closer->closed();
}

// OK: true when the settings were saved and the sheet may close. A failed
// save has told the user; the pages show what the logic holds, and the
// sheet stays open.
bool Confirm() {
  if (Finished()) return true;
  ReadBack(session->logic->currentPage());
  if (session->closer->confirm()) return true;
  for (size_t i = 0; i < kSheetPageCount; ++i) Mirror(i);
  return false;
}

void Dismiss() {
  if (Finished()) return;
  ReadBack(session->logic->currentPage());
  session->closer->dismiss();
}

// A picture, box or frame: page decoration rather than something to use.
bool IsDecoration(HWND control) {
  char className[32] = {};
  GetClassNameA(control, className, sizeof(className));
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (lstrcmpiA(className, "Static") == 0) {
    const LONG kind = style & SS_TYPEMASK;
    return kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_SIMPLE &&
           kind != SS_LEFTNOWORDWRAP;
  }
  return lstrcmpiA(className, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Stacks a page's controls as its layout means them: each decoration above
// the ones listed before it, and every control the user reads or works
// above all decorations, those among themselves in the layout's order. That
// order is what the dialog manager walks for radio groups and the Tab key:
// a group runs from its first button down to the next control that starts
// one, so controls stacked in reverse would put the cow sizes' Medium in the
// headings' group and leave Tiny and Medium both checked.
void StackControls(HWND page) {
  std::vector<HWND> created;
  for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    created.push_back(child);
  }
  constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (HWND child : created) {
    if (IsDecoration(child)) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
  }
  // Each one raised goes on top, so the first of the layout is raised last.
  for (auto child = created.rbegin(); child != created.rend(); ++child) {
    if (!IsDecoration(*child)) SetWindowPos(*child, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
  }
}

INT_PTR HandleNotify(size_t index, HWND page, const NMHDR& header) {
  switch (header.code) {
    case PSN_SETACTIVE:
      // The real sheet is changing pages: the logic leaves the old page
      // (already read back) and shows this one.
      if (Finished()) break;
      session->services->setPage(page);
      ReadBack(session->logic->currentPage());
      if (session->logic->currentPage() != index || !session->logic->isCreated(index)) {
        session->logic->selectPage(index);
      }
      Mirror(index);
      SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
      return TRUE;
    case PSN_KILLACTIVE:
      ReadBack(index);
      SetWindowLongPtrA(page, DWLP_MSGRESULT, FALSE);
      return TRUE;
    case PSN_APPLY: {
      // Every created page hears PSN_APPLY; the logic applies them all in
      // page order on the first. When the store refuses the save, the
      // message box belongs to the sheet, and the sheet stays open on the
      // page it shows, with everything the user chose.
      session->services->setPage(page);
      const bool saved = Confirm();
      SetWindowLongPtrA(page, DWLP_MSGRESULT, saved ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
      return TRUE;
    }
    case PSN_RESET:
      Dismiss();
      return TRUE;
    case PSN_HELP:
      ReadBack(index);
      session->services->setPage(page);
      session->logic->help();
      Mirror(index);
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

INT_PTR PageMessage(size_t index, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      session->pages[index].window = page;
      StackControls(page);
      if (session->logic->pageTemplate(index).templateId == kXanaduTemplateId) {
        SendDlgItemMessageA(page, xanadu_ids::kQuestion, EM_LIMITTEXT, xanadu_ids::kQuestionLimit,
                            0);
      }
      return TRUE;
    case WM_NOTIFY:
      return HandleNotify(index, page, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: {
      const int32_t id = LOWORD(wParam);
      const int32_t code = HIWORD(wParam);
      if (Finished() || session->logic->currentPage() != index) return FALSE;
      if (code == EN_CHANGE) {
        ReadBack(index);
        return TRUE;
      }
      // Clicks (buttons and notifying pictures) and list selection changes.
      if (code != BN_CLICKED && code != LBN_SELCHANGE && code != LBN_DBLCLK) return FALSE;
      ReadBack(index);
      session->services->setPage(page);
      session->logic->command(id, code);
      Mirror(index);
      return TRUE;
    }
    case WM_HSCROLL:
      if (Finished() || session->logic->currentPage() != index) return FALSE;
      ReadBack(index);
      session->logic->sliderMoved();
      Mirror(index);
      return TRUE;
    case WM_HELP:
      ReadBack(index);
      session->services->setPage(page);
      session->logic->help();
      return TRUE;
    default:
      return FALSE;
  }
}

template <size_t Index>
INT_PTR CALLBACK PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  return PageMessage(Index, page, message, wParam, lParam);
}

template <size_t... Index>
constexpr std::array<DLGPROC, sizeof...(Index)> MakeProcedures(std::index_sequence<Index...>) {
  return {&PageProcedure<Index>...};
}

}  // namespace

void ShowWin32ConfigurationSheet(HINSTANCE module, Platform& system) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  SheetSession current;
  current.module = module;
  current.services.emplace(module, &system);
  current.logic.emplace(*current.services, system.settingsStore());
  current.closer.emplace(*current.logic);
  session = &current;

  static constexpr auto procedures = MakeProcedures(std::make_index_sequence<kSheetPageCount>{});
  std::array<std::string, kSheetPageCount> titles;
  std::array<PROPSHEETPAGEA, kSheetPageCount> pages{};
  for (size_t i = 0; i < kSheetPageCount; ++i) {
    const PageTemplate& layout = current.logic->pageTemplate(i);
    titles[i] = std::string(layout.title);
    PROPSHEETPAGEA& page = pages[i];
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = kPageFlags;
    page.hInstance = module;
    page.pszTemplate = MAKEINTRESOURCEA(layout.templateId);
    page.pszTitle = titles[i].c_str();
    page.pfnDlgProc = procedures[i];
    page.lParam = 0;
  }
  // The pages go to the sheet in their first-version layout; the sheet
  // steps through the array by each entry's dwSize, so they are packed.
  std::vector<std::byte> packedPages(kSheetPageCount * PROPSHEETPAGEA_V1_SIZE);
  for (size_t i = 0; i < kSheetPageCount; ++i) {
    std::memcpy(packedPages.data() + i * PROPSHEETPAGEA_V1_SIZE, &pages[i], PROPSHEETPAGEA_V1_SIZE);
  }
  const std::string caption(kSheetCaption);
  PROPSHEETHEADERA header{};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = kSheetFlags;
  header.hwndParent = nullptr;
  header.hInstance = module;
  header.pszIcon = MAKEINTRESOURCEA(kSheetIconId);
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = 0;
  header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(packedPages.data());

  current.logic->open();
  ::PropertySheetA(&header);
  // Closed by the window manager or an error: nothing was confirmed.
  Dismiss();
  session = nullptr;
}

}  // namespace grazefall::platform::win32
