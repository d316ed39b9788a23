#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "desktop/Placement.h"
#include "platform/Locale.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "shell/FileFilter.h"
#include "support/SessionFixture.h"
#include "support/TestNames.h"

namespace trelvox {
namespace {

using testing::SessionFixture;

// ---- file dialog filters -------------------------------------------------------------------

struct FilterCase {
  const char* pairs;
  const char* expected;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
  *out << '"' << c.pairs << '"';
}

class FilterConversion : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterConversion, BecomesTheDialogsList) {
  EXPECT_EQ(QtFilterFromPairs(GetParam().pairs), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, FilterConversion,
    ::testing::Values(FilterCase{"DMDX Files (*.*)|*.*", "DMDX Files (*)"},
                      FilterCase{"Composite Files (*.dat)|*.dat", "Composite Files (*.dat)"},
                      FilterCase{"Data|*.dat", "Data (*.dat)"},
                      FilterCase{"Composite Files (*.dat)|*.dat|All Files (*.*)|*.*",
                                 "Composite Files (*.dat);;All Files (*)"},
                      FilterCase{"Text|*.txt;*.dat", "Text (*.txt *.dat)"},
                      FilterCase{"Any|*.txt;*.*", "Any (*.txt *)"},
                      FilterCase{"Text (*.txt;*.dat)|*.txt;*.dat",
                                 "Text (*.txt;*.dat) (*.txt *.dat)"},
                      FilterCase{"Lonely description", "Lonely description (*)"},
                      FilterCase{"Empty pattern|", "Empty pattern (*)"},
                      FilterCase{"|*.azk", "(*.azk)"}, FilterCase{"", ""}),
    [](const auto& info) { return testing::ReadableTestName(info.index, info.param.pairs); });

// ---- window placement ----------------------------------------------------------------------

TEST(Placement, TwipsBecomeTheNearestPixel) {
  EXPECT_EQ(TwipsToPixels(1000), 67);
  EXPECT_EQ(TwipsToPixels(6500), 433);
  EXPECT_EQ(TwipsToPixels(-1500), -100);
  EXPECT_EQ(TwipsToPixels(7), 0);
  EXPECT_EQ(TwipsToPixels(8), 1);
  EXPECT_EQ(TwipsToPixels(1e30), 16777215);
  EXPECT_EQ(TwipsToPixels(-1e30), -16777215);
  EXPECT_EQ(PixelsToTwipsText(67), "1005");
  EXPECT_EQ(PixelsToTwipsText(-100), "-1500");
}

struct StoredPlacement {
  const char* name;
  std::map<std::string, std::string> stored;
  PixelRect expected;
};

void PrintTo(const StoredPlacement& c, std::ostream* out) {
  *out << c.name;
}

class PlacementLoading : public ::testing::TestWithParam<StoredPlacement> {};

TEST_P(PlacementLoading, MissingOrUnreadableKeysFallBackOneByOne) {
  MemorySettingsStore settings;
  for (const auto& [key, value] : GetParam().stored) {
    settings.Set("Trelvox", "Settings", key, value);
  }
  EXPECT_EQ(LoadPlacement(settings, FixedLocale()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, PlacementLoading,
    ::testing::Values(
        StoredPlacement{"Nothing", {}, {67, 67, 433, 433}},
        StoredPlacement{"WholeTwips",
                        {{"MainLeft", "1500"},
                         {"MainTop", "3000"},
                         {"MainWidth", "7500"},
                         {"MainHeight", "4500"}},
                        {100, 200, 500, 300}},
        StoredPlacement{
            "NotNumbers",
            {{"MainLeft", "abc"}, {"MainTop", "3000"}, {"MainWidth", ""}, {"MainHeight", "12 px"}},
            {67, 200, 433, 433}},
        StoredPlacement{"NegativeAndFractions",
                        {{"MainLeft", "-1500"}, {"MainTop", " 1522.5 "}, {"MainWidth", "+7500"}},
                        {-100, 102, 500, 433}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Placement, SavesWholeTwipsAsDigits) {
  MemorySettingsStore settings;
  SavePlacement(settings, {-10, 0, 500, 301});
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainLeft", "?"), "-150");
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainTop", "?"), "0");
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainWidth", "?"), "7500");
  EXPECT_EQ(settings.Get("Trelvox", "Settings", "MainHeight", "?"), "4515");
}

TEST(Placement, ReadsTheLocalesDecimalSeparator) {
  MemorySettingsStore settings;
  settings.Set("Trelvox", "Settings", "MainLeft", "1522,5");
  const FixedLocale german(ShortDateFormat::UnitedStates(), ',');
  EXPECT_EQ(LoadPlacement(settings, german).left, 102);
}

}  // namespace
}  // namespace trelvox
