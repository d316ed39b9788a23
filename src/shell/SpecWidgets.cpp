#include "shell/SpecWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "shell/Twips.h"

namespace trelvox {

namespace {

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

QWidget* MakePicture(const ControlSpec& spec) {
  auto* picture = new QLabel;
  picture->setAlignment(Qt::AlignCenter);
  picture->setPixmap(QPixmap(PicturePath(spec.picture)));
  return picture;
}

QWidget* MakeLabel(const ControlSpec& spec) {
  auto* label = new QLabel(QString::fromLatin1(spec.caption));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* MakeButton(const ControlSpec& spec) {
  auto* button = new QPushButton(QString::fromLatin1(spec.caption));
  button->setDefault(spec.isDefault);
  button->setAutoDefault(true);  // Enter presses the focused button
  return button;
}

QWidget* MakeWidget(const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::Frame:
      return MakeFrame();
    case ControlKind::Picture:
      return MakePicture(spec);
    case ControlKind::Label:
      return MakeLabel(spec);
    case ControlKind::Button:
      return MakeButton(spec);
    case ControlKind::CheckBox:
      return new QCheckBox(QString::fromLatin1(spec.caption));
  }
  return new QWidget;
}

void AddControl(QWidget& window, const ControlSpec& spec) {
  QWidget* widget = MakeWidget(spec);
  QWidget* parent = &window;
  if (spec.container != nullptr) {
    parent = window.findChild<QWidget*>(QString::fromLatin1(spec.container));
  }
  widget->setParent(parent);
  widget->setObjectName(QString::fromLatin1(spec.name));
  widget->setFont(FontOf(spec.font, window.font()));
  if (spec.sizesToText) {
    widget->move(Px(spec.place.left), Px(spec.place.top));
    widget->adjustSize();
  } else {
    widget->setGeometry(ToPixels(spec.place));
  }
}

}  // namespace

void BuildControls(QWidget& window, const WindowSpec& spec) {
  for (const ControlSpec& control : spec.controls) {
    if (control.kind == ControlKind::Frame) {
      AddControl(window, control);
    }
  }
  for (const ControlSpec& control : spec.controls) {
    if (control.kind != ControlKind::Frame) {
      AddControl(window, control);
    }
  }
  if (auto* first = window.findChild<QWidget*>(QString::fromLatin1(spec.firstFocus))) {
    first->setFocus();
  }
}

QSize ClientSize(const WindowSpec& spec) {
  return {Px(spec.clientWidth), Px(spec.clientHeight)};
}

}  // namespace trelvox
