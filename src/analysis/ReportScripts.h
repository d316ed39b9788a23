#pragma once

#include <span>
#include <string_view>

namespace trelvox::analysis {

// A text file carried inside the program, in pieces (compilers bound the length of one literal).
struct EmbeddedText {
  std::string_view name;  // the file's name, "vega.min.js"
  std::span<const std::string_view> pieces;
};

// The plotting scripts that report.html carries inline, in the order they must load (vega,
// vega-lite, vega-embed), and their licences. The source is generated from third_party/vega
// at build time.
std::span<const EmbeddedText> ReportScripts();
std::span<const EmbeddedText> ReportScriptLicences();

}  // namespace trelvox::analysis
