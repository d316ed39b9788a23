#include "parse/SubjectScanner.h"

#include <algorithm>

#include "platform/Text.h"

namespace trelvox {

namespace {

constexpr std::string_view kIdField = ", ID ";
constexpr std::string_view kCotMarker = "COT";

// "ID A1274       COT": ZIL files with a COT column end the header with blanks and "COT".
std::string_view WithoutCotMarker(std::string_view id) {
  if (!id.ends_with(kCotMarker)) {
    return id;
  }
  std::string_view rest = id.substr(0, id.size() - kCotMarker.size());
  if (!rest.ends_with(' ')) {
    return id;
  }
  while (rest.ends_with(' ')) {
    rest.remove_suffix(1);
  }
  return rest;
}

bool TakeSlash(std::string_view& text) {
  if (text.empty() || text.front() != '/') {
    return false;
  }
  text.remove_prefix(1);
  return true;
}

}  // namespace

bool IsSubjectHeader(std::string_view line) {
  return Contains(line, "refresh") && Contains(line, "Subject");
}

std::string GetSubjectID(std::string_view line) {
  const std::size_t field = line.find(kIdField);
  if (field != std::string_view::npos) {
    return std::string(WithoutCotMarker(line.substr(field + kIdField.size())));
  }
  const std::size_t id = line.find("ID");
  if (id == std::string_view::npos) {
    return {};
  }
  // Drop "ID" and the one character after it; nothing is left when the line ends there.
  const std::size_t start = id + 3;
  if (start >= line.size()) {
    return {};
  }
  return std::string(WithoutCotMarker(line.substr(start)));
}

HeaderFromDate GetSubjectDate(std::string_view line) {
  const std::size_t comma = line.find(", ");
  const std::size_t cut = comma == std::string_view::npos ? 1 : comma + 2;
  const std::string_view fromDate = line.substr(std::min(cut, line.size()));
  return {fromDate.substr(0, 10), fromDate};
}

std::optional<Date> ParseHeaderDate(std::string_view text) {
  Date date;
  const auto month = TakeDigits(text, 1, 2);
  if (!month || !TakeSlash(text)) {
    return std::nullopt;
  }
  const auto day = TakeDigits(text, 1, 2);
  if (!day || !TakeSlash(text)) {
    return std::nullopt;
  }
  const std::size_t before = text.size();
  const auto year = TakeDigits(text, 2, 4);
  if (!year || before - text.size() == 3 || (!text.empty() && text.front() != ' ')) {
    return std::nullopt;
  }
  date.month = *month;
  date.day = *day;
  date.year = FullYear(*year, before - text.size());
  if (!IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

void StoreSubjectDate(Session& session, std::string_view dateText) {
  SubjectDateValue& value = session.state.subject.SubjectDate;
  value.date = ParseHeaderDate(dateText);
  value.unconverted = value.date ? std::string() : std::string(dateText);
  if (!value.date) {
    session.trials.Anomaly(ReaderAnomaly::DamagedDate, session.state.subject.HeaderLine);
    session.ui.Problem(MessageId::DamagedHeaderDate,
                       "The subject header's date \"" + value.unconverted +
                           "\" is not a month/day/year date. This subject's Date column holds "
                           "the text as found.");
  }
}

namespace {

// Hand-edited headers ("Subjec029, ... refresh 16.67ms ...") are not headers, so their blocks
// are passed over; the user is told which lines, so that the file can be mended.
void TellPassedOverHeaders(Session& session, const LineList& lines) {
  if (lines.Empty()) {
    return;
  }
  const bool one = lines.Count() == 1;
  session.ui.Problem(
      MessageId::PassedOverHeaders,
      CountOf(lines.Count(), "line", "lines") + " with \"refresh\" but without \"Subject\" " +
          (one ? "was" : "were") + " passed over between subjects, so the block after " +
          (one ? "it was" : "each was") + " not converted. " + lines.Listing() + "\r\n" +
          "A subject header line must contain both \"Subject\" and \"refresh\": mend " +
          (one ? "this line" : "these lines") +
          ", then parse the file again (into a new composite file, so that no row is written "
          "twice).");
}

}  // namespace

bool FindNextSubject(Session& session) {
  RunState& state = session.state;
  FileChannels& files = session.files;
  std::string line;
  bool found = false;
  LineList passedOver;
  while (!files.AtEnd(state.files.InFileNum) && !found) {
    files.ReadLine(state.files.InFileNum, line);
    found = IsSubjectHeader(line);
    if (!found && Contains(line, "refresh")) {
      passedOver.Add(line);
      session.trials.Anomaly(ReaderAnomaly::PassedOverHeader, line);
    }
  }
  TellPassedOverHeaders(session, passedOver);
  if (files.AtEnd(state.files.InFileNum)) {
    state.subject.SubjectHeader = line;
    return false;
  }
  state.notices.NoteSubjectHeader();
  state.subject.HeaderLine = line;
  const HeaderFromDate header = GetSubjectDate(line);
  StoreSubjectDate(session, header.dateText);
  if (Contains(header.fromDate, "ID")) {
    state.subject.SubjectID = GetSubjectID(header.fromDate);
    session.ui.Message(MessageId::SubjectIdDetected,
                       "ID: " + state.subject.SubjectID + " detected.", "");
  } else {
    state.subject.SubjectID = session.ui.Input(
        MessageId::MissingSubjectId,
        "ID missing for subject on " + DateText(state.subject.SubjectDate, session.locale),
        "Enter ID Number");
  }
  state.subject.SubjectHeader = header.fromDate;
  return true;
}

bool FindSubjectByID(Session& session, const std::string& requestedId) {
  RunState& state = session.state;
  FileChannels& files = session.files;
  std::string line;
  if (requestedId.empty()) {
    // Nothing to look for: an empty ID would "match" before a single line was read.
    state.subject.SubjectHeader.clear();
    return false;
  }
  std::string foundId;
  while (foundId != requestedId && !files.AtEnd(state.files.InFileNum)) {
    files.ReadLine(state.files.InFileNum, line);
    if (Contains(line, "ID")) {
      foundId = GetSubjectID(line);
    }
    if (!state.notices.SubjectHeaderMet() && IsSubjectHeader(line)) {
      state.notices.NoteSubjectHeader();
    }
  }
  if (files.AtEnd(state.files.InFileNum)) {
    state.subject.SubjectHeader = line;
    return false;
  }
  state.subject.HeaderLine = line;
  const HeaderFromDate header = GetSubjectDate(line);
  StoreSubjectDate(session, header.dateText);
  state.subject.SubjectHeader = header.fromDate;
  const bool today =
      state.subject.SubjectDate.date && *state.subject.SubjectDate.date == session.clock.Today();
  if (!today) {
    return session.ui.AskYesNo(
        MessageId::DataCollectedOn,
        "Data collected on: " + DateText(state.subject.SubjectDate, session.locale));
  }
  return true;
}

}  // namespace trelvox
