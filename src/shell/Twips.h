#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "shell/Placement.h"

namespace trelvox {

// Window layouts are laid out in twips (1/1440 inch) and drawn at 15 twips a pixel.
constexpr int Px(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Px(left), Px(top), Px(width), Px(height));
}

// A bold font by family name; where the family is missing the system's substitute serves.
inline QFont BoldFont(const QString& family, double pointSize) {
  QFont font(family);
  font.setPointSizeF(pointSize);
  font.setBold(true);
  return font;
}

}  // namespace trelvox
