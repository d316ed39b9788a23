#pragma once

#include <string>

namespace trelvox {

class Locale;
class SettingsStore;

// Window positions and sizes are kept in twips (1440 to the inch). Qt works in logical pixels
// at 96 dpi, 15 twips each; Windows in device pixels at the system's dpi.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kLogicalDpi = 96;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / kLogicalDpi;

// Rounds to the nearest pixel, and keeps absurd stored values inside what a window can take.
int TwipsToPixels(double twips, int dpi = kLogicalDpi);
// The whole twips of a pixel count, written as plain digits ("1005").
std::string PixelsToTwipsText(int pixels, int dpi = kLogicalDpi);

// Where the main window's placement is stored, and what applies when nothing is.
inline constexpr const char* kPlacementSection = "Settings";
struct PlacementKey {
  const char* name;
  double defaultTwips;
};
inline constexpr PlacementKey kMainLeft{"MainLeft", 1000};
inline constexpr PlacementKey kMainTop{"MainTop", 1000};
inline constexpr PlacementKey kMainWidth{"MainWidth", 6500};
inline constexpr PlacementKey kMainHeight{"MainHeight", 6500};

// The window's outer rectangle in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Reads the four values; a key that is missing or does not hold a number gives its default.
PixelRect LoadPlacement(const SettingsStore& settings, const Locale& locale, int dpi = kLogicalDpi);
void SavePlacement(SettingsStore& settings, const PixelRect& rect, int dpi = kLogicalDpi);

}  // namespace trelvox
