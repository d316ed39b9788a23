#pragma once

#include <QWidget>

#include "desktop/WindowLayout.h"

namespace trelvox {

// Creates the window's controls as the shared description gives them: names, captions,
// places, fonts and pictures, in tab order. Frames come first so that they can hold the rest.
void BuildControls(QWidget& window, const WindowDescription& described);

// The control with that id, created by BuildControls under its described name.
template <typename Widget, typename ControlId>
Widget* Control(const QWidget& window, ControlId id) {
  return window.findChild<Widget*>(QString::fromLatin1(Described(id).name));
}

// The window's client size in pixels.
QSize ClientSize(const WindowDescription& described);

}  // namespace trelvox
