#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "desktop/Placement.h"
#include "desktop/WindowLayout.h"

namespace trelvox {

// Window layouts are laid out in twips (1/1440 inch) and drawn at 15 twips a pixel.
constexpr int Px(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect ToPixels(const TwipsRect& place) {
  return QRect(Px(place.left), Px(place.top), Px(place.width), Px(place.height));
}

// The font of a control; where the family is missing the system's substitute serves, and a
// control without a font of its own keeps the application's.
inline QFont FontOf(const FontDescription& described, const QFont& fallback) {
  if (described.family == nullptr) {
    return fallback;
  }
  QFont font(QString::fromLatin1(described.family));
  font.setPointSizeF(described.points);
  font.setBold(described.bold);
  return font;
}

}  // namespace trelvox
