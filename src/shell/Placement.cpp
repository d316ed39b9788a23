#include "shell/Placement.h"

#include <algorithm>
#include <cmath>

#include "platform/Locale.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"

namespace trelvox {

namespace {

// Far beyond any screen, yet safe to hand to the window system.
constexpr double kPixelLimit = 16777215;

double StoredTwips(const SettingsStore& settings, const Locale& locale, const PlacementKey& key) {
  const std::string text = settings.Get(kAppTitle, kPlacementSection, key.name, "");
  const std::optional<double> number = locale.ParseNumber(text);
  return number && std::isfinite(*number) ? *number : key.defaultTwips;
}

}  // namespace

int TwipsToPixels(double twips) {
  const double pixels = std::round(twips / kTwipsPerPixel);
  return static_cast<int>(std::clamp(pixels, -kPixelLimit, kPixelLimit));
}

std::string PixelsToTwipsText(int pixels) {
  return std::to_string(static_cast<long long>(pixels) * kTwipsPerPixel);
}

PixelRect LoadPlacement(const SettingsStore& settings, const Locale& locale) {
  PixelRect rect;
  rect.left = TwipsToPixels(StoredTwips(settings, locale, kMainLeft));
  rect.top = TwipsToPixels(StoredTwips(settings, locale, kMainTop));
  rect.width = TwipsToPixels(StoredTwips(settings, locale, kMainWidth));
  rect.height = TwipsToPixels(StoredTwips(settings, locale, kMainHeight));
  return rect;
}

void SavePlacement(SettingsStore& settings, const PixelRect& rect) {
  settings.Set(kAppTitle, kPlacementSection, kMainLeft.name, PixelsToTwipsText(rect.left));
  settings.Set(kAppTitle, kPlacementSection, kMainTop.name, PixelsToTwipsText(rect.top));
  settings.Set(kAppTitle, kPlacementSection, kMainWidth.name, PixelsToTwipsText(rect.width));
  settings.Set(kAppTitle, kPlacementSection, kMainHeight.name, PixelsToTwipsText(rect.height));
}

}  // namespace trelvox
