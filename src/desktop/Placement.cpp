#include "desktop/Placement.h"

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

int TwipsToPixels(double twips, int dpi) {
  const double pixels = std::round(twips * dpi / kTwipsPerInch);
  return static_cast<int>(std::clamp(pixels, -kPixelLimit, kPixelLimit));
}

std::string PixelsToTwipsText(int pixels, int dpi) {
  const double twips = std::round(static_cast<double>(pixels) * kTwipsPerInch / dpi);
  return std::to_string(static_cast<long long>(twips));
}

PixelRect LoadPlacement(const SettingsStore& settings, const Locale& locale, int dpi) {
  PixelRect rect;
  rect.left = TwipsToPixels(StoredTwips(settings, locale, kMainLeft), dpi);
  rect.top = TwipsToPixels(StoredTwips(settings, locale, kMainTop), dpi);
  rect.width = TwipsToPixels(StoredTwips(settings, locale, kMainWidth), dpi);
  rect.height = TwipsToPixels(StoredTwips(settings, locale, kMainHeight), dpi);
  return rect;
}

void SavePlacement(SettingsStore& settings, const PixelRect& rect, int dpi) {
  const auto save = [&](const PlacementKey& key, int pixels) {
    settings.Set(kAppTitle, kPlacementSection, key.name, PixelsToTwipsText(pixels, dpi));
  };
  save(kMainLeft, rect.left);
  save(kMainTop, rect.top);
  save(kMainWidth, rect.width);
  save(kMainHeight, rect.height);
}

}  // namespace trelvox
