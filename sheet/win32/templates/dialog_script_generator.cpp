// Writes the settings pages' dialog templates as a resource script, from the
// same page layouts the dialog logic and the Qt front end use, so the Windows
// sheet and the Linux dialog cannot drift apart.
//   dialog_script_generator <output.rc>
#include <cstdio>
#include <string>
#include <string_view>

#include "sheet/page_template.h"

namespace {

using grazefall::ControlKind;
using grazefall::ControlTemplate;
using grazefall::PageTemplate;

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
  return (control.style & grazefall::kStyleHidden) != 0 ? " | NOT WS_VISIBLE" : " | WS_VISIBLE";
}

std::string Group(const ControlTemplate& control) {
  return (control.style & grazefall::kStyleGroupStart) != 0 ? " | WS_GROUP" : "";
}

// CONTROL text, id, class, style, x, y, width, height
std::string ControlLine(const ControlTemplate& c) {
  const bool white = (c.style & grazefall::kStyleWhite) != 0;
  std::string text = Quoted(c.text);
  std::string windowClass;
  std::string style;
  std::string extended;
  switch (c.kind) {
    case ControlKind::kPicture:
      text = std::to_string(c.pictureId);
      windowClass = "\"Static\"";
      style = "SS_BITMAP";
      if ((c.style & grazefall::kStyleNotify) != 0) style += " | SS_NOTIFY";
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
      style = (c.style & grazefall::kStyleCentered) != 0 ? "SS_CENTER" : "SS_LEFT";
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
      style = "TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP";
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
      style = "ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP";
      break;
  }
  // Pictures and boxes never paint over the controls stacked above them.
  if (c.kind == ControlKind::kPicture || c.kind == ControlKind::kRectangle ||
      c.kind == ControlKind::kFrame || c.kind == ControlKind::kGroupBox) {
    style += " | WS_CLIPSIBLINGS";
  }
  if ((c.style & grazefall::kStyleSunken) != 0) extended = ", WS_EX_CLIENTEDGE";
  // A drop-down list's height in a template is its open height.
  const int32_t height = c.kind == ControlKind::kComboBox ? c.height * 6 : c.height;
  return "  CONTROL " + text + ", " + std::to_string(c.id) + ", " + windowClass + ", " + style +
         Visibility(c) + Group(c) + ", " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
         std::to_string(c.width) + ", " + std::to_string(height) + extended + "\n";
}

std::string PageScript(const PageTemplate& page) {
  std::string script = std::to_string(page.templateId) + " DIALOGEX 0, 0, " +
                       std::to_string(grazefall::kPageWidthDlu) + ", " +
                       std::to_string(grazefall::kPageHeightDlu) + "\n";
  script += "STYLE DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION\n";
  script += "CAPTION " + Quoted(page.title) + "\n";
  script += "FONT 8, \"MS Sans Serif\"\n";
  script += "BEGIN\n";
  for (const ControlTemplate& control : page.controls) script += ControlLine(control);
  script += "END\n\n";
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: dialog_script_generator <output.rc>\n", stderr);
    return 2;
  }
  std::string script =
      "// Generated from the settings page layouts; do not edit.\n"
      "#include <windows.h>\n#include <commctrl.h>\n\n";
  for (const PageTemplate* page :
       {&grazefall::ScenariosTemplate(), &grazefall::HerdTemplate(), &grazefall::WindTemplate(),
        &grazefall::EffectsTemplate(), &grazefall::BackgroundTemplate(),
        &grazefall::XanaduTemplate(), &grazefall::LiffTemplate()}) {
    script += PageScript(*page);
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(script.data(), 1, script.size(), out) == script.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
