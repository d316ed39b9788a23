#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trelvox {

// A list of lines as found in the input, told to the user in one box: at most the first ten
// lines, then how many more there were.
class LineList {
 public:
  void Add(std::string_view line);
  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // "The first 10 of them, as found:" or "As found:", the lines, and "... and N more.",
  // separated by CR LF.
  std::string Listing() const;
  void Clear();

 private:
  std::size_t count_ = 0;
  std::vector<std::string> first_;
};

// What a parse run met in the input that the user should hear about, collected so that it is
// told once: the problem lines of the current subject (told after the subject's report) and
// the ZIL trials with more responses than the header names (told once at the end of the run).
class ParseNotices {
 public:
  // A new run: nothing noted yet.
  void StartRun();
  // A new subject: its own problem lines only.
  void StartSubject();

  // A line of the current subject that was not converted as it stands. Lines of one kind share
  // `noun` ("line", "item line"), `what` they lack (read after "3 lines ") and `consequence`.
  void AddProblemLine(std::string_view noun, std::string_view what, std::string_view consequence,
                      std::string_view line);
  // The current subject's problem lines, one paragraph per kind, or the empty text.
  std::string SubjectProblems(std::string_view subjectId) const;
  // Forgets them once told.
  void ClearSubjectProblems() { problems_.clear(); }

  // A subject header line was read, found by the scanner or passed by the lookup; a run that
  // met none is told that its input holds no subject at all.
  void NoteSubjectHeader() { subjectHeaderMet_ = true; }
  bool SubjectHeaderMet() const { return subjectHeaderMet_; }

  // A ZIL trial with `responses` responses where the header names `expected`.
  void CountResponses(int responses, int expected);
  // How many trials had more responses than expected and the most seen, or the empty text.
  std::string LongTrialsReport() const;

 private:
  struct ProblemKind {
    std::string noun;
    std::string what;
    std::string consequence;
    LineList lines;
  };
  std::vector<ProblemKind> problems_;
  int expectedResponses_ = 0;
  std::size_t longTrials_ = 0;
  int mostResponses_ = 0;
  bool subjectHeaderMet_ = false;
};

// "1 line" or "3 lines": a count with its noun in the number it needs.
std::string CountOf(std::size_t count, std::string_view singular, std::string_view plural);

}  // namespace trelvox
