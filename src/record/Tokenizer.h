#pragma once

#include <string_view>

#include "record/FieldRecord.h"

namespace trelvox {

// Cuts a line into the record's values. Identifier "S" cuts at runs of blanks (leading blanks
// skipped; two or more trailing blanks give one empty last field), "T" at every tab. Any other
// identifier on a line that is not empty shows
// "Error in ParseString(), Unknown Identifier: " and the identifier, and leaves the record empty.
// A line of more than 32700 fields raises OverflowError.
void ParseString(std::string_view line, FieldRecord& record, std::string_view identifier, Ui& ui);

}  // namespace trelvox
