#include "shell/DescribedWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstring>

namespace trelvox {

namespace {

// The font of a control; where the family is missing the system's substitute serves, and a
// control without a font of its own keeps the application's.
QFont FontOf(const FontDescription& described, const QFont& fallback) {
  if (described.family == nullptr) {
    return fallback;
  }
  QFont font(QString::fromLatin1(described.family));
  font.setPointSizeF(described.points);
  font.setBold(described.bold);
  return font;
}

QString PicturePath(Picture picture) {
  return picture == Picture::Logo ? QStringLiteral(":/trelvox/logo.jpg")
                                  : QStringLiteral(":/trelvox/icon.png");
}

QWidget* MakeFrame() {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

QWidget* MakePicture(const ControlDescription& described) {
  auto* picture = new QLabel;
  picture->setAlignment(Qt::AlignCenter);
  picture->setPixmap(QPixmap(PicturePath(described.picture)));
  return picture;
}

QWidget* MakeLabel(const ControlDescription& described) {
  auto* label = new QLabel(QString::fromLatin1(described.caption));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* MakeButton(const ControlDescription& described) {
  auto* button = new QPushButton(QString::fromLatin1(described.caption));
  button->setDefault(described.isDefault);
  button->setAutoDefault(true);  // Enter presses the focused button
  return button;
}

QWidget* MakeList(const ControlDescription& described) {
  auto* list = new QListWidget;
  list->setSelectionMode(described.multiSelect ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::SingleSelection);
  return list;
}

QWidget* MakeProgressBar() {
  auto* bar = new QProgressBar;
  bar->setRange(0, 1000);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

QWidget* MakeWidget(const ControlDescription& described) {
  switch (described.kind) {
    case ControlKind::Frame:
      return MakeFrame();
    case ControlKind::Picture:
      return MakePicture(described);
    case ControlKind::Label:
      return MakeLabel(described);
    case ControlKind::Button:
      return MakeButton(described);
    case ControlKind::CheckBox:
      return new QCheckBox(QString::fromLatin1(described.caption));
    case ControlKind::TextBox:
      return new QLineEdit;
    case ControlKind::ListBox:
      return MakeList(described);
    case ControlKind::ProgressBar:
      return MakeProgressBar();
  }
  return new QWidget;
}

// The room a button leaves around its caption, as the style draws it.
int CaptionMargins(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  const QStyle* style = button.style();
  return style->pixelMetric(QStyle::PM_ButtonMargin, &option, &button) +
         2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &button);
}

// The sizes are those of Windows' smaller dialog font: a caption too wide for its button in
// this system's font gets a smaller one, so that it stays inside the button's margins.
void FitCaptionInside(QPushButton& button) {
  constexpr double kSmallestPoints = 6;
  constexpr double kStep = 0.5;
  const int room = button.width() - CaptionMargins(button);
  QFont font = button.font();
  const auto captionWidth = [&button](const QFont& candidate) {
    return QFontMetrics(candidate).size(Qt::TextShowMnemonic, button.text()).width();
  };
  while (font.pointSizeF() - kStep >= kSmallestPoints && captionWidth(font) > room) {
    font.setPointSizeF(font.pointSizeF() - kStep);
  }
  button.setFont(font);
}

void AddControl(QWidget& window, const ControlDescription& described) {
  QWidget* widget = MakeWidget(described);
  QWidget* parent = &window;
  if (described.container != nullptr) {
    parent = window.findChild<QWidget*>(QString::fromLatin1(described.container));
  }
  widget->setParent(parent);
  widget->setObjectName(QString::fromLatin1(described.name));
  widget->setFont(FontOf(described.font, window.font()));
  const PixelRect place = PixelsOf(described.place);
  if (described.sizesToText) {
    widget->move(place.left, place.top);
    widget->adjustSize();
  } else {
    widget->setGeometry(place.left, place.top, place.width, place.height);
  }
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    FitCaptionInside(*button);
  }
}

}  // namespace

void BuildControls(QWidget& window, const WindowDescription& described) {
  for (const ControlDescription& control : described.controls) {
    if (control.kind == ControlKind::Frame) {
      AddControl(window, control);
    }
  }
  for (const ControlDescription& control : described.controls) {
    if (control.kind != ControlKind::Frame) {
      AddControl(window, control);
    }
  }
  // A label whose caption carries an access key hands the focus to the control after it.
  for (std::size_t i = 0; i + 1 < described.controls.size(); ++i) {
    const ControlDescription& control = described.controls[i];
    if (control.kind == ControlKind::Label && std::strchr(control.caption, '&') != nullptr) {
      auto* label = window.findChild<QLabel*>(QString::fromLatin1(control.name));
      label->setBuddy(
          window.findChild<QWidget*>(QString::fromLatin1(described.controls[i + 1].name)));
    }
  }
  const char* first = described.controls[described.firstFocus].name;
  if (auto* focused = window.findChild<QWidget*>(QString::fromLatin1(first))) {
    focused->setFocus();
  }
}

QSize ClientSize(const WindowDescription& described) {
  return {TwipsToPixels(described.clientWidth), TwipsToPixels(described.clientHeight)};
}

}  // namespace trelvox
