// One settings page as real widgets, laid out from its template in dialog
// units. It mirrors the page's control model onto the widgets (push) and
// hands the user's edits back to it (pull); clicks, list selections and
// slider moves come out as signals for the sheet.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QWidget>

#include <cstdint>
#include <map>
#include <vector>

#include "sheet/control_model.h"
#include "sheet/page_template.h"

namespace grazefall::qtui {

// Dialog units to pixels with the dialog font's base units (6 x 13 pixels).
constexpr int DluToPixelsX(int dlu) {
  return dlu * 6 / 4;
}
constexpr int DluToPixelsY(int dlu) {
  return dlu * 13 / 8;
}

// A picture control that reports clicks.
class ClickablePicture : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class PageWidget : public QWidget {
  Q_OBJECT
 public:
  explicit PageWidget(const PageTemplate& layout, QWidget* parent = nullptr);

  // Shows the model's state on the widgets without reporting it back.
  void push(const ControlModel& model);
  // Copies what the user changed (checks, slider positions, selections,
  // typed text) into the model.
  void pull(ControlModel& model) const;

  // The widget of control `id`; null when the page has none.
  QWidget* control(int32_t id) const;

 signals:
  void commandIssued(int id, int notifyCode);
  void sliderMoved();

 private:
  struct Control {
    const ControlTemplate* layout = nullptr;
    QWidget* widget = nullptr;
    QButtonGroup* group = nullptr;
    // What a picture control shows now, so it is decoded only on change.
    int32_t shownPicture = -1;
    std::string shownFile;
  };
  QWidget* build(const ControlTemplate& layout, QButtonGroup*& radioGroup);
  void showPicture(Control& control, const ControlState& state);

  std::map<int32_t, Control> controls_;
  bool pushing_ = false;
};

}  // namespace grazefall::qtui
