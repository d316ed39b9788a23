#include "analysis/ReportText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace trelvox::analysis {
namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string html;  // EscapeHtml's result
};

class EscapeHtmlTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(EscapeHtmlTest, EscapesMarkupAndKeepsEveryByteReadable) {
  const std::string escaped = EscapeHtml(GetParam().input);
  EXPECT_EQ(escaped, GetParam().html);
  EXPECT_EQ(ToValidUtf8(escaped), escaped);  // nothing left that a browser would misread
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeHtmlTest,
    ::testing::Values(TextCase{"Plain", "S12 lexdec.azk", "S12 lexdec.azk"},
                      TextCase{"Markup", "</script><b a='1'>\"&",
                               "&lt;/script&gt;&lt;b a=&#39;1&#39;&gt;&quot;&amp;"},
                      TextCase{"ValidUtf8Unchanged", "M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80",
                               "M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80"},
                      TextCase{"Windows1252Letter", "M\xFCller", "M\xC3\xBCller"},
                      TextCase{"Windows1252Euro", "\x80 5", "\xE2\x82\xAC 5"},
                      TextCase{"Windows1252Undefined", "a\x81z", "a\xEF\xBF\xBDz"},
                      TextCase{"TruncatedSequenceAtEnd", "ab\xC3", "ab\xC3\x83"},
                      TextCase{"OverlongSlash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
                      TextCase{"Surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
                      TextCase{"ControlCharacters", std::string("a\x01\tb\0c\x7F", 7),
                               "a\xEF\xBF\xBD\tb\xEF\xBF\xBD"
                               "c\xEF\xBF\xBD"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(ScriptJsonTest, NoStringCanEndTheScriptAndTheValueReadsBack) {
  const nlohmann::json value = {{"subject", "</script><script>alert(1)</script><!--"},
                                {"rt", 512.25}};
  const std::string text = ScriptJson(value);
  EXPECT_EQ(text.find('<'), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(text), value);
}

TEST(ScriptJsonTest, InvalidUtf8DoesNotThrow) {
  const nlohmann::json value = {{"subject", "M\xFCller"}};
  EXPECT_EQ(ScriptJson(value), "{\"subject\":\"M\xEF\xBF\xBDller\"}");
}

TEST(FormatTest, NumbersWhateverTheLocale) {
  EXPECT_EQ(FormatFixed(512.254, 2), "512.25");
  EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
  EXPECT_EQ(FormatFixed(-3.5, 1), "-3.5");
  EXPECT_EQ(FormatPercent(0.125), "12.5%");
  EXPECT_EQ(FormatCount(999), "999");
  EXPECT_EQ(FormatCount(1000000), "1,000,000");
  EXPECT_EQ(FormatCount(-12345), "-12,345");
  EXPECT_EQ(FormatBytes(999), "999 bytes");
  EXPECT_EQ(FormatBytes(48213), "48.2 kB");
  EXPECT_EQ(FormatBytes(20480000), "20.5 MB");
  EXPECT_DOUBLE_EQ(Rounded(0.123456, 4), 0.1235);
}

}  // namespace
}  // namespace trelvox::analysis
