#include "sheet/qt/page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

#include "sheet/page_ids.h"
#include "sheet/page_procedure.h"
#include "sheet/qt/qt_pictures.h"

namespace grazefall::qtui {
namespace {

QRect PixelRect(const ControlTemplate& layout) {
  return {DluToPixelsX(layout.x), DluToPixelsY(layout.y), std::max(1, DluToPixelsX(layout.width)),
          std::max(1, DluToPixelsY(layout.height))};
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool DrawnBehind(ControlKind kind) {
  return kind == ControlKind::kPicture || kind == ControlKind::kRectangle ||
         kind == ControlKind::kFrame;
}

// Text controls grow to their text where the template is too narrow for
// this font, but never past the page's right edge.
void FitWidth(QWidget* widget, const QRect& rect) {
  const int pageRight = DluToPixelsX(kPageWidthDlu);
  const int wanted = std::max(rect.width(), widget->sizeHint().width());
  widget->setGeometry(rect.x(), rect.y(), std::min(wanted, pageRight - rect.x()), rect.height());
}

}  // namespace

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

PageWidget::PageWidget(const PageTemplate& layout, QWidget* parent) : QWidget(parent) {
  setFixedSize(DluToPixelsX(kPageWidthDlu), DluToPixelsY(kPageHeightDlu));
  QButtonGroup* radioGroup = nullptr;
  std::vector<QWidget*> inFront;
  // Text on a page drawn on black is white.
  const bool onBlack = !layout.controls.empty() &&
                       layout.controls.front().kind == ControlKind::kRectangle &&
                       (layout.controls.front().style & kStyleWhite) == 0;
  if (onBlack) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
  }
  for (const ControlTemplate& control : layout.controls) {
    QWidget* widget = build(control, radioGroup);
    if (!DrawnBehind(control.kind)) inFront.push_back(widget);
    if (control.id != kNoControlId) {
      Control& entry = controls_[control.id];
      entry.layout = &control;
      entry.widget = widget;
      if (control.kind == ControlKind::kRadioButton) entry.group = radioGroup;
    }
    if ((control.style & kStyleHidden) != 0) widget->hide();
  }
  // Pictures lie under the controls a user types into or clicks.
  for (QWidget* widget : inFront) widget->raise();
}

QWidget* PageWidget::build(const ControlTemplate& layout, QButtonGroup*& radioGroup) {
  const QRect rect = PixelRect(layout);
  const int id = layout.id;
  switch (layout.kind) {
    case ControlKind::kPicture: {
      QLabel* picture =
          (layout.style & kStyleNotify) != 0 ? new ClickablePicture(this) : new QLabel(this);
      if (auto* clickable = qobject_cast<ClickablePicture*>(picture)) {
        connect(clickable, &ClickablePicture::clicked, this,
                [this, id] { emit commandIssued(id, kNotifyClicked); });
      }
      if ((layout.style & kStyleSunken) != 0)
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      picture->setGeometry(rect);
      if (layout.id == kNoControlId) {
        Control unnamed;
        unnamed.layout = &layout;
        unnamed.widget = picture;
        ControlState state;
        state.pictureId = layout.pictureId;
        showPicture(unnamed, state);
      }
      return picture;
    }
    case ControlKind::kRectangle:
    case ControlKind::kFrame: {
      auto* frame = new QFrame(this);
      const bool white = (layout.style & kStyleWhite) != 0;
      const QString colour = white ? "white" : "black";
      frame->setStyleSheet(layout.kind == ControlKind::kRectangle
                               ? "background-color: " + colour + "; border: none;"
                               : "background: transparent; border: 1px solid " + colour + ";");
      frame->setGeometry(rect);
      return frame;
    }
    case ControlKind::kGroupBox: {
      auto* box = new QGroupBox(Text(layout.text), this);
      box->setGeometry(rect);
      return box;
    }
    case ControlKind::kStatic: {
      auto* label = new QLabel(Text(layout.text), this);
      if ((layout.style & kStyleCentered) != 0) label->setAlignment(Qt::AlignCenter);
      const bool tall = layout.height >= 16;
      label->setWordWrap(tall);
      if (tall) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(rect);
      } else {
        FitWidth(label, rect);
      }
      return label;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(Text(layout.text), this);
      button->setAutoDefault(false);
      button->setDefault(false);
      button->setGeometry(rect);
      connect(button, &QPushButton::clicked, this,
              [this, id] { emit commandIssued(id, kNotifyClicked); });
      return button;
    }
    case ControlKind::kRadioButton: {
      auto* radio = new QRadioButton(Text(layout.text), this);
      if (radioGroup == nullptr || (layout.style & kStyleGroupStart) != 0) {
        radioGroup = new QButtonGroup(this);
      }
      radioGroup->addButton(radio);
      FitWidth(radio, rect);
      connect(radio, &QRadioButton::clicked, this,
              [this, id] { emit commandIssued(id, kNotifyClicked); });
      return radio;
    }
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(Text(layout.text), this);
      FitWidth(box, rect);
      connect(box, &QCheckBox::clicked, this,
              [this, id] { emit commandIssued(id, kNotifyClicked); });
      return box;
    }
    case ControlKind::kSlider: {
      auto* slider = new QSlider(Qt::Horizontal, this);
      slider->setTickPosition(QSlider::NoTicks);
      slider->setGeometry(rect);
      connect(slider, &QSlider::valueChanged, this, [this] {
        if (!pushing_) emit sliderMoved();
      });
      return slider;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(this);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      list->setGeometry(rect);
      connect(list, &QListWidget::currentRowChanged, this, [this, id](int row) {
        if (!pushing_ && row >= 0) emit commandIssued(id, kListSelectionChanged);
      });
      return list;
    }
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(this);
      combo->setMaxVisibleItems(std::max(1, rect.height() / 16));
      combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
      return combo;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(this);
      if (id == xanadu_ids::kQuestion) edit->setMaxLength(xanadu_ids::kQuestionLimit);
      edit->setGeometry(rect);
      return edit;
    }
  }
  return new QWidget(this);
}

void PageWidget::showPicture(Control& control, const ControlState& state) {
  auto* label = static_cast<QLabel*>(control.widget);
  if (control.shownPicture == state.pictureId && control.shownFile == state.pictureFile) return;
  control.shownPicture = state.pictureId;
  control.shownFile = state.pictureFile;

  QPixmap pixmap;
  if (!state.pictureFile.empty()) {
    pixmap = FilePixmap(Text(state.pictureFile), background_ids::kPreviewWidth,
                        background_ids::kPreviewHeight);
  }
  if (pixmap.isNull() && state.pictureId != 0) {
    pixmap = ResourcePixmap(state.pictureId);
    if (pixmap.isNull()) {
      const QRect rect = PixelRect(*control.layout);
      pixmap = PlaceholderPixmap(rect.width(), rect.height());
    }
  }
  const QRect rect = PixelRect(*control.layout);
  if (pixmap.isNull()) {
    label->clear();
    label->setGeometry(rect);
    return;
  }
  // A picture control takes its picture's size.
  label->setPixmap(pixmap);
  const int frame = 2 * label->frameWidth();
  label->setGeometry(rect.x(), rect.y(), pixmap.width() + frame, pixmap.height() + frame);
}

void PageWidget::push(const ControlModel& model) {
  pushing_ = true;
  for (auto& [id, control] : controls_) {
    const ControlState& state = model.at(id);
    QWidget* widget = control.widget;
    switch (control.layout->kind) {
      case ControlKind::kPicture:
        showPicture(control, state);
        break;
      case ControlKind::kStatic:
        static_cast<QLabel*>(widget)->setText(Text(state.text));
        break;
      case ControlKind::kRadioButton:
      case ControlKind::kCheckBox: {
        auto* button = static_cast<QAbstractButton*>(widget);
        // An exclusive group refuses to clear its checked button.
        if (control.group != nullptr) control.group->setExclusive(false);
        button->setChecked(state.checked);
        if (control.group != nullptr) control.group->setExclusive(true);
        break;
      }
      case ControlKind::kSlider: {
        auto* slider = static_cast<QSlider*>(widget);
        const QSignalBlocker blocker(slider);
        slider->setRange(state.rangeMin, state.rangeMax);
        slider->setValue(state.position);
        slider->setPageStep(std::max(1, (state.rangeMax - state.rangeMin) / 5));
        break;
      }
      case ControlKind::kListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        const QSignalBlocker blocker(list);
        QStringList entries;
        for (const std::string& entry : state.entries) entries << Text(entry);
        QStringList current;
        for (int i = 0; i < list->count(); ++i) current << list->item(i)->text();
        if (entries != current) {
          list->clear();
          list->addItems(entries);
        }
        list->setCurrentRow(state.selection);
        if (state.selection < 0) list->clearSelection();
        break;
      }
      case ControlKind::kComboBox: {
        auto* combo = static_cast<QComboBox*>(widget);
        const QSignalBlocker blocker(combo);
        QStringList entries;
        for (const std::string& entry : state.entries) entries << Text(entry);
        QStringList current;
        for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
        if (entries != current) {
          combo->clear();
          combo->addItems(entries);
        }
        combo->setCurrentIndex(state.selection);
        break;
      }
      case ControlKind::kEdit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        if (edit->text() != Text(state.text)) edit->setText(Text(state.text));
        break;
      }
      default:
        break;
    }
    widget->setEnabled(state.enabled);
    widget->setVisible(state.shown);
  }
  pushing_ = false;
}

void PageWidget::pull(ControlModel& model) const {
  for (const auto& [id, control] : controls_) {
    QWidget* widget = control.widget;
    switch (control.layout->kind) {
      case ControlKind::kRadioButton:
      case ControlKind::kCheckBox:
        model.setChecked(id, static_cast<QAbstractButton*>(widget)->isChecked());
        break;
      case ControlKind::kSlider:
        model.setPosition(id, static_cast<QSlider*>(widget)->value());
        break;
      case ControlKind::kListBox:
        // The current row is the selection: it changes before the item is
        // marked selected when the user clicks.
        model.setSelection(id, static_cast<QListWidget*>(widget)->currentRow());
        break;
      case ControlKind::kComboBox:
        model.setSelection(id, static_cast<QComboBox*>(widget)->currentIndex());
        break;
      case ControlKind::kEdit:
        model.setText(id, static_cast<QLineEdit*>(widget)->text().toStdString());
        break;
      default:
        break;
    }
  }
}

QWidget* PageWidget::control(int32_t id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second.widget;
}

}  // namespace grazefall::qtui
