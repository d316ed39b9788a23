#pragma once

#include <string>
#include <string_view>

namespace trelvox {

// Turns "desc|pattern|desc|pattern" into the file dialog's own list, "desc (pattern);;...".
// A description that already ends in its pattern in parentheses keeps it there; several
// patterns joined by ";" become one list separated by blanks; "*.*" becomes "*", which lists
// every file as on Windows; a description without a pattern matches every file.
std::string QtFilterFromPairs(std::string_view filter);

}  // namespace trelvox
