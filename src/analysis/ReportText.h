#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace trelvox::analysis {

// Subject IDs, items and file names are bytes as DMDX wrote them, often in the Windows code page
// of the machine that ran the experiment. The page is UTF-8: valid UTF-8 passes unchanged, and
// each byte of an invalid sequence is read as Windows-1252, so that "M\xFCller" shows as
// "Müller" and no byte can break the page. Control characters other than tab, line feed and
// carriage return become U+FFFD.
std::string ToValidUtf8(std::string_view text);

// Text for an HTML element's content or a quoted attribute value.
std::string EscapeHtml(std::string_view text);

// JSON for an inline <script>: "<" is written as \u003c, so that no "</script>" (or "<!--")
// in the data can end the element or change how the browser reads it.
std::string ScriptJson(const nlohmann::json& value);

// A number in plain decimal with `decimals` digits after the point, whatever the locale.
std::string FormatFixed(double value, int decimals);

// A share as a percentage with one decimal ("12.5%").
std::string FormatPercent(double share);

// A file size in bytes, kB or MB (decimal units, one decimal).
std::string FormatBytes(unsigned long long bytes);

// A number rounded to `decimals` digits, for the page's data: figures stay short in the JSON.
double Rounded(double value, int decimals);

// The parts one after another. (GCC 12 warns wrongly about `"text" + std::string`.)
std::string Concat(std::initializer_list<std::string_view> parts);

// A count with thousands separated by commas ("1,000,000"), as the guide writes them.
std::string FormatCount(long long count);

}  // namespace trelvox::analysis
