#pragma once

#include <QWidget>

#include "desktop/WindowLayout.h"

namespace trelvox {

// Creates the window's controls as the shared description gives them: names, captions,
// places, fonts and pictures, in tab order. Frames come first so that they can hold the rest.
void BuildControls(QWidget& window, const WindowDescription& described);

// The control of that name, created by BuildControls.
template <typename Widget>
Widget* Control(const QWidget& window, const char* name) {
  return window.findChild<Widget*>(QString::fromLatin1(name));
}

// The window's client size in pixels.
QSize ClientSize(const WindowDescription& described);

}  // namespace trelvox
