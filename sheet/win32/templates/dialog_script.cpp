#include "sheet/win32/templates/dialog_script.h"

#include <string>
#include <string_view>

#include "sheet/page_template.h"

namespace grazefall {
namespace {

// Resource-script text literal: quotes doubled, line breaks as \n.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Visibility(const ControlTemplate& control) {
  // A CONTROL statement is visible unless told otherwise.
  return (control.style & kStyleHidden) != 0 ? " | NOT WS_VISIBLE" : " | WS_VISIBLE";
}

std::string Group(const ControlTemplate& control) {
  return (control.style & kStyleGroupStart) != 0 ? " | WS_GROUP" : "";
}

}  // namespace

// CONTROL text, id, class, style, x, y, width, height
std::string ControlLine(const ControlTemplate& c) {
  const bool white = (c.style & kStyleWhite) != 0;
  std::string text = Quoted(c.text);
  std::string windowClass;
  std::string style;
  std::string extended;
  switch (c.kind) {
    case ControlKind::kPicture:
      text = std::to_string(c.pictureId);
      windowClass = "\"Static\"";
      style = "SS_BITMAP";
      if ((c.style & kStyleNotify) != 0) style += " | SS_NOTIFY";
      break;
    case ControlKind::kRectangle:
      windowClass = "\"Static\"";
      style = white ? "SS_WHITERECT" : "SS_BLACKRECT";
      break;
    case ControlKind::kFrame:
      windowClass = "\"Static\"";
      style = white ? "SS_WHITEFRAME" : "SS_BLACKFRAME";
      break;
    case ControlKind::kGroupBox:
      windowClass = "\"Button\"";
      style = "BS_GROUPBOX";
      break;
    case ControlKind::kStatic:
      windowClass = "\"Static\"";
      style = (c.style & kStyleCentered) != 0 ? "SS_CENTER" : "SS_LEFT";
      break;
    case ControlKind::kPushButton:
      windowClass = "\"Button\"";
      style = "BS_PUSHBUTTON | WS_TABSTOP";
      break;
    case ControlKind::kRadioButton:
      windowClass = "\"Button\"";
      style = "BS_AUTORADIOBUTTON | WS_TABSTOP";
      break;
    case ControlKind::kCheckBox:
      windowClass = "\"Button\"";
      style = "BS_AUTOCHECKBOX | WS_TABSTOP";
      break;
    case ControlKind::kSlider:
      windowClass = "\"msctls_trackbar32\"";
      style = "TBS_HORZ | TBS_NOTICKS | WS_TABSTOP";
      break;
    // Lists are filled in the order the page logic keeps them (sorted
    // there when the page asks for it), so the control itself never sorts.
    case ControlKind::kListBox:
      windowClass = "\"ListBox\"";
      style = "LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP";
      break;
    case ControlKind::kComboBox:
      windowClass = "\"ComboBox\"";
      style = "CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP";
      break;
    case ControlKind::kEdit:
      windowClass = "\"Edit\"";
      style = "ES_MULTILINE | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP";
      break;
  }
  // Pictures and boxes never paint over the controls stacked above them.
  if (c.kind == ControlKind::kPicture || c.kind == ControlKind::kRectangle ||
      c.kind == ControlKind::kFrame || c.kind == ControlKind::kGroupBox) {
    style += " | WS_CLIPSIBLINGS";
  }
  if ((c.style & kStyleSunken) != 0) extended = ", WS_EX_CLIENTEDGE";
  // A drop-down list's height in a template is its open height, which is
  // what the page layout gives for it.
  const int32_t height = c.height;
  return "  CONTROL " + text + ", " + std::to_string(c.id) + ", " + windowClass + ", " + style +
         Visibility(c) + Group(c) + ", " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
         std::to_string(c.width) + ", " + std::to_string(height) + extended + "\n";
}

namespace {

std::string PageScript(const PageTemplate& page) {
  std::string script = std::to_string(page.templateId) + " DIALOGEX 0, 0, " +
                       std::to_string(kPageWidthDlu) + ", " + std::to_string(kPageHeightDlu) + "\n";
  script += "STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION\n";
  script += "CAPTION " + Quoted(page.title) + "\n";
  script += "FONT 8, \"MS Sans Serif\"\n";
  script += "BEGIN\n";
  for (const ControlTemplate& control : page.controls) script += ControlLine(control);
  script += "END\n\n";
  return script;
}

}  // namespace

std::string DialogScript() {
  std::string script =
      "// Generated from the settings page layouts; do not edit.\n"
      "#include <windows.h>\n#include <commctrl.h>\n\n";
  for (const PageTemplate* page :
       {&ScenariosTemplate(), &HerdTemplate(), &WindTemplate(), &EffectsTemplate(),
        &BackgroundTemplate(), &XanaduTemplate(), &LiffTemplate()}) {
    script += PageScript(*page);
  }
  return script;
}

}  // namespace grazefall
