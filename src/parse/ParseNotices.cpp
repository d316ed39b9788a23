#include "parse/ParseNotices.h"

#include <algorithm>

namespace trelvox {

namespace {

constexpr const char* kCrLf = "\r\n";
// Enough to see what the lines look like; a box of hundreds of lines helps nobody.
constexpr std::size_t kLinesShown = 10;

}  // namespace

std::string CountOf(std::size_t count, std::string_view singular, std::string_view plural) {
  return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

void LineList::Add(std::string_view line) {
  ++count_;
  if (first_.size() < kLinesShown) {
    first_.emplace_back(line);
  }
}

std::string LineList::Listing() const {
  std::string text = count_ > first_.size()
                         ? "The first " + std::to_string(first_.size()) + ", as found:"
                         : std::string("As found:");
  for (const std::string& line : first_) {
    text += kCrLf + line;
  }
  if (count_ > first_.size()) {
    text += kCrLf + ("... and " + std::to_string(count_ - first_.size()) + " more.");
  }
  return text;
}

void LineList::Clear() {
  count_ = 0;
  first_.clear();
}

void ParseNotices::StartRun() {
  problems_.clear();
  longTrials_ = 0;
  mostResponses_ = 0;
  subjectHeaderMet_ = false;
}

void ParseNotices::StartSubject() {
  problems_.clear();
}

void ParseNotices::AddProblemLine(std::string_view noun, std::string_view what,
                                  std::string_view consequence, std::string_view line) {
  const auto kind = std::find_if(problems_.begin(), problems_.end(), [&](const ProblemKind& k) {
    return k.noun == noun && k.what == what && k.consequence == consequence;
  });
  if (kind != problems_.end()) {
    kind->lines.Add(line);
    return;
  }
  problems_.push_back({std::string(noun), std::string(what), std::string(consequence), {}});
  problems_.back().lines.Add(line);
}

std::string ParseNotices::SubjectProblems(std::string_view subjectId) const {
  std::string text;
  for (const ProblemKind& kind : problems_) {
    if (!text.empty()) {
      text += std::string(kCrLf) + kCrLf;
    }
    const std::size_t count = kind.lines.Count();
    text += "Subject " + std::string(subjectId) + ": " +
            CountOf(count, kind.noun, kind.noun + "s") + " " + kind.what + ". " + kind.consequence +
            kCrLf + kind.lines.Listing();
  }
  return text;
}

void ParseNotices::CountResponses(int responses, int expected) {
  expectedResponses_ = std::max(expected, 0);  // the header names no pair below one
  if (responses > expectedResponses_) {
    ++longTrials_;
    mostResponses_ = std::max(mostResponses_, responses);
  }
}

std::string ParseNotices::LongTrialsReport() const {
  if (longTrials_ == 0) {
    return {};
  }
  const bool one = longTrials_ == 1;
  const std::string most = std::to_string(mostResponses_);
  return CountOf(longTrials_, "trial", "trials") + " had more responses than the " +
         std::to_string(expectedResponses_) + " expected" +
         (one ? ": " + most + "." : "; the most in one trial was " + most + ".") + kCrLf +
         (one ? "Its row has" : "Their rows have") +
         " more columns than the header row names, which statistics programs may refuse or "
         "misread." +
         kCrLf + "To name every column, parse the file again into a new composite file with " +
         most + " as the expected number of responses.";
}

}  // namespace trelvox
