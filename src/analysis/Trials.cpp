#include "analysis/Trials.h"

#include <cmath>
#include <limits>

namespace trelvox::analysis {

namespace {

constexpr int kMaxWholeDigits = 15;  // keeps every sum of a million of them in 64 bits

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A plain decimal ("-612.485") as hundredths, rounded half to even on its own digits.
std::optional<Centis> PlainCentis(std::string_view text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  at += !text.empty() && (text[0] == '-' || text[0] == '+');
  Centis whole = 0;
  int wholeDigits = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    whole = whole * 10 + (text[at] - '0');
    if (++wholeDigits > kMaxWholeDigits) {
      return std::nullopt;
    }
  }
  int fraction[2] = {0, 0};
  int fractionDigits = 0;
  bool restAboveZero = false;
  int firstRest = -1;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at, ++fractionDigits) {
      const int digit = text[at] - '0';
      if (fractionDigits < 2) {
        fraction[fractionDigits] = digit;
      } else if (firstRest < 0) {
        firstRest = digit;
      } else {
        restAboveZero = restAboveZero || digit != 0;
      }
    }
  }
  if (at != text.size() || wholeDigits + fractionDigits == 0) {
    return std::nullopt;
  }
  Centis value = whole * 100 + fraction[0] * 10 + fraction[1];
  const bool roundUp = firstRest > 5 || (firstRest == 5 && (restAboveZero || value % 2 != 0));
  value += roundUp ? 1 : 0;
  return negative ? -value : value;
}

}  // namespace

std::optional<Centis> ToCentis(std::string_view text) {
  if (const std::optional<Decimal> number = Decimal::Read(text)) {
    if (const auto hundredths = number->Hundredths()) {
      return hundredths;
    }
  }
  if (const auto plain = PlainCentis(text)) {
    return plain;
  }
  const std::optional<double> value = ReadDecimal(text);
  if (!value || !(std::fabs(*value) < 1e13)) {
    return std::nullopt;
  }
  return static_cast<Centis>(std::nearbyint(*value * 100));
}

std::string_view OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Correct:
      return "correct";
    case Outcome::Error:
      return "error";
    case Outcome::NoResponse:
      return "no_response";
    case Outcome::None:
      break;
  }
  return {};
}

Outcome ZilOutcome(const std::optional<Decimal>& itemRt, bool noResponses,
                   const std::optional<std::int16_t>& timeout) {
  if (itemRt) {
    if (!itemRt->IsNegative()) {
      return Outcome::Correct;
    }
    return timeout && itemRt->Equals(-*timeout) ? Outcome::NoResponse : Outcome::Error;
  }
  return noResponses ? Outcome::NoResponse : Outcome::None;
}

KeyEvent ReadKey(std::string_view field) {
  if (field.empty()) {
    return {};
  }
  if (field.front() == '+') {
    return {field.substr(1), KeyAction::Press};
  }
  if (field.front() == '-') {
    return {field.substr(1), KeyAction::Release};
  }
  return {field, KeyAction::None};
}

namespace {

bool IsNumber(std::string_view field) {
  std::size_t at = !field.empty() && (field[0] == '-' || field[0] == '+') ? 1 : 0;
  bool digits = false;
  for (; at < field.size(); ++at) {
    if (field[at] >= '0' && field[at] <= '9') {
      digits = true;
    } else if (field[at] != '.') {
      return false;
    }
  }
  return digits;
}

bool ContinuesKey(std::string_view field) {
  return !field.empty() && field[0] != '+' && field[0] != '-' && !IsNumber(field);
}

}  // namespace

void GroupEvents(const std::vector<std::string_view>& fields, std::vector<Event>& events,
                 std::vector<std::string>& joined) {
  events.clear();
  // Room for every join first: growing later would move the texts the events view.
  if (joined.size() < fields.size()) {
    joined.resize(fields.size());
  }
  std::size_t joins = 0;
  for (std::size_t at = 0; at < fields.size();) {
    Event event{fields[at++], {}};
    if (at < fields.size()) {
      const std::size_t first = at++;
      while (at < fields.size() && ContinuesKey(fields[at])) {
        ++at;
      }
      event.key = fields[first];
      if (at - first > 1) {
        std::string& key = joined[joins++];
        key.assign(fields[first]);
        for (std::size_t part = first + 1; part < at; ++part) {
          key.append(" ").append(fields[part]);
        }
        event.key = key;
      }
    }
    events.push_back(event);
  }
}

FirstPress FirstPressOf(const TrialFacts& trial) {
  if (trial.events == nullptr) {
    return {};
  }
  for (const Event& event : *trial.events) {
    const KeyEvent key = ReadKey(event.key);
    if (key.action == KeyAction::Press) {
      return {key.key, event.time};
    }
  }
  return {};
}

std::string_view AnomalyTitle(AnomalyKind kind) {
  switch (kind) {
    case AnomalyKind::LineWithoutRt:
      return "Lines without a reaction time";
    case AnomalyKind::LineWithoutCot:
      return "Lines without a COT";
    case AnomalyKind::ItemLineWithoutField:
      return "Item lines without a field";
    case AnomalyKind::PassedOverHeader:
      return "Passed-over header";
    case AnomalyKind::DamagedDate:
      return "Damaged date";
    case AnomalyKind::MoreResponses:
      return "More responses than expected";
    case AnomalyKind::DataLoss:
      return "Data loss banner";
    case AnomalyKind::DisplayError:
      return "Display error";
    case AnomalyKind::RefusedFlips:
      return "Refused video flips";
    case AnomalyKind::ShortRow:
      return "Composite rows without a trial";
    case AnomalyKind::DuplicateBlock:
      return "Duplicate block";
  }
  return {};
}

std::optional<AnomalyKind> BannerKind(std::string_view line) {
  if (line.find("DATA LOSS") != std::string_view::npos) {
    return AnomalyKind::DataLoss;
  }
  if (line.find("Display error") != std::string_view::npos) {
    return AnomalyKind::DisplayError;
  }
  if (line.find("refused video flips") != std::string_view::npos) {
    return AnomalyKind::RefusedFlips;
  }
  return std::nullopt;
}

}  // namespace trelvox::analysis
