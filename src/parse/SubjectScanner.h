#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parse/Session.h"

namespace trelvox {

// A subject header line contains both "Subject" and "refresh" (exact case).
bool IsSubjectHeader(std::string_view line);

// The subject's ID in a header line: the text after the first ", " + "ID " when the line has
// one (DMDX ends its headers so), otherwise the text after the first "ID" and the one character
// that follows it. A trailing COT column marker ("   COT") is not part of the ID.
std::string GetSubjectID(std::string_view line);

// A subject header line cut after its first ", " (after its first character when it has none):
// the header's date text, the first 10 characters after the cut, and the line from there on,
// which is what the subject's header is kept as. Both are views into `line`, which is left as
// it is.
struct HeaderFromDate {
  std::string_view dateText;
  std::string_view fromDate;
};
HeaderFromDate GetSubjectDate(std::string_view line);

// DMDX writes header dates as month/day/year on every machine, whatever its regional settings.
std::optional<Date> ParseHeaderDate(std::string_view text);

// Stores the header's date text as the subject's date; a text that is not a date is kept as
// found, and the user is told once.
void StoreSubjectDate(Session& session, std::string_view dateText);

// Reads forward to the next subject header and stores its header, date and ID. False when the
// input ends first, or when the header is the input's last line.
bool FindNextSubject(Session& session);

// Moves forward to the subject whose header carries `requestedId`, asking the user to confirm a
// subject not collected today. False when not found (the input is then at its end) or declined.
bool FindSubjectByID(Session& session, const std::string& requestedId);

}  // namespace trelvox
