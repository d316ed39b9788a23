#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parse/Numbers.h"

namespace trelvox::analysis {

// A reaction time in hundredths of a millisecond, the resolution DMDX writes: sums of them are
// exact, and so are the means and medians made from them.
using Centis = std::int64_t;

// The text as hundredths: exact for a plain decimal with at most two decimals (every time DMDX
// writes), rounded half to even for more; empty for anything that is not a number. The sign is
// kept.
std::optional<Centis> ToCentis(std::string_view text);

enum class Outcome : std::uint8_t { None, Correct, Error, NoResponse };

// "correct", "error", "no_response", or the empty text.
std::string_view OutcomeName(Outcome outcome);

// AZK: the composite's Error column, '0', '1' or '2'.
inline Outcome AzkOutcome(char errorCode) {
  return errorCode >= '0' && errorCode <= '2' ? static_cast<Outcome>(errorCode - '0' + 1)
                                              : Outcome::None;
}

// ZIL: the item line's own reaction time decides when it has one: negative is an error, or no
// response when it is exactly minus the time-out given; "No Responses" is no response; any other
// trial's outcome is not written in the file.
Outcome ZilOutcome(const std::optional<Decimal>& itemRt, bool noResponses,
                   const std::optional<std::int16_t>& timeout);

// One event of a ZIL trial: its time and its key with the sign ("612.40", "+Bit1").
struct Event {
  std::string_view time;
  std::string_view key;
};

// The events of a trial from its response fields, time and key by turns. A key DMDX names with a
// blank ("+Numpad Enter") reaches the fields as two; a field that is neither a number nor signed
// continues the key before it. Joined keys are kept in `joined`, which the events view.
void GroupEvents(const std::vector<std::string_view>& fields, std::vector<Event>& events,
                 std::vector<std::string>& joined);

// One trial, from whichever input: the readers' DMDX files or a composite file. Views last for
// the call that hands the trial on.
struct TrialFacts {
  int number = 0;  // within the block, from 1
  std::string_view item;
  Outcome outcome = Outcome::None;
  std::optional<Centis> rt;  // unsigned; none for no_response
  std::string_view rtRaw;    // as written
  std::string_view cot;      // as written; empty without --cot
  bool zil = false;
  // ZIL: the recorded events.
  const std::vector<Event>* events = nullptr;

  int EventCount() const { return events == nullptr ? 0 : static_cast<int>(events->size()); }
};

// A ZIL event's key without its sign, and whether it was a press ('+'), a release ('-'), or
// neither (no sign).
enum class KeyAction : std::uint8_t { None, Press, Release };
struct KeyEvent {
  std::string_view key;
  KeyAction action = KeyAction::None;
};
KeyEvent ReadKey(std::string_view field);

// The first key press of a ZIL trial: its key without sign and its time field, or empty views.
struct FirstPress {
  std::string_view key;
  std::string_view time;
};
FirstPress FirstPressOf(const TrialFacts& trial);

// A subject block as its header (or, for a composite file, its rows) tells it.
struct BlockFacts {
  std::string subject;  // the ID, or "S" and the header's subject number
  std::string date;     // ISO 8601, empty when the header's date is damaged
  std::string time;     // ISO 8601
  std::string machine;
  std::string refreshMs;  // as written, without "ms"
};

// What an input holds besides its trials, counted per subject for the report.
enum class AnomalyKind : std::uint8_t {
  LineWithoutRt,
  LineWithoutCot,
  ItemLineWithoutField,
  PassedOverHeader,
  DamagedDate,
  MoreResponses,
  DataLoss,
  DisplayError,
  RefusedFlips,
  ShortRow,
  DuplicateBlock,
};
inline constexpr int kAnomalyKinds = static_cast<int>(AnomalyKind::DuplicateBlock) + 1;

// "Lines without a reaction time", "Data loss banner", ...
std::string_view AnomalyTitle(AnomalyKind kind);

// The kind of a line of a block that is no trial, when DMDX wrote it about lost data or display
// timing; empty for any other line.
std::optional<AnomalyKind> BannerKind(std::string_view line);

// Takes what an input holds, block by block; each pass of the analysis is one.
class TrialSink {
 public:
  virtual ~TrialSink() = default;
  virtual void InputStarted(std::size_t index) = 0;
  virtual void BlockStarted(const BlockFacts& block) = 0;
  virtual void Trial(const TrialFacts& trial) = 0;
  virtual void BlockEnded() = 0;
  // An anomaly within the current block, or, with no block open, between blocks.
  virtual void Anomaly(AnomalyKind kind, std::string_view line) = 0;
  // A problem the readers told in words, as they tell it.
  virtual void Notice(std::string_view text) = 0;
};

}  // namespace trelvox::analysis
