#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/Trials.h"

namespace trelvox::analysis {

// Mean and sample spread of a stream of numbers, updated one at a time (Welford): no sum of
// squares that loses its digits when the values are large and close together.
class Spread {
 public:
  void Add(double value) {
    ++count_;
    const double delta = value - mean_;
    mean_ += delta / static_cast<double>(count_);
    squares_ += delta * (value - mean_);
  }
  long Count() const { return count_; }
  double Mean() const { return mean_; }
  // The sample standard deviation (n - 1); empty below two values.
  std::optional<double> Sd() const;

 private:
  long count_ = 0;
  double mean_ = 0;
  double squares_ = 0;
};

// The reaction times of a subject or an item that count for its figures: an exact sum for the
// mean, and the values themselves for the median and, in two passes over them, the standard
// deviation.
class RtFigures {
 public:
  void Add(Centis rt);
  void Reserve(long count) { values_.reserve(static_cast<std::size_t>(count)); }
  long Count() const { return static_cast<long>(values_.size()); }
  // In hundredths, rounded half to even from the exact value; empty without values.
  std::optional<Centis> MeanCentis() const;
  std::optional<Centis> MedianCentis();
  // The sample standard deviation (n - 1), in hundredths; empty below two values.
  std::optional<double> SdCentis() const;
  const std::vector<std::int32_t>& Values() const { return values_; }

 private:
  Centis sum_ = 0;
  std::vector<std::int32_t> values_;
  std::optional<Centis> median_;  // once found, until the next value
};

// `sum` / `count` in hundredths, rounded half to even; the sum is exact, so the mean is too.
Centis RoundedQuotient(Centis sum, long count);

// Per subject and cell: the trials with an outcome, the errors and no responses among them, and
// the reaction times of the correct, untrimmed ones.
struct CellFigures {
  long trials = 0;
  long withOutcome = 0;
  long failed = 0;  // error or no_response
  Centis sum = 0;
  long count = 0;
};

// error + no_response among the trials with an outcome. Empty when none has one, and when
// some trials have none (ZIL trials without the item line's own reaction time): their correct
// trials cannot be told from their errors, so any share would mislead.
std::optional<double> ErrorRate(long failed, long withOutcome, long trials);

// Items by the text they are written with. Whole numbers as DMDX writes them ("14") are found
// without hashing, as every trial looks its item up.
class ItemIndex {
 public:
  int Find(std::string_view text) const;
  // The index of `text`, added as `next` when it is new.
  int FindOrAdd(std::string_view text, int next);

 private:
  static constexpr int kSmallDigits = 6;
  static int SmallNumber(std::string_view text);
  std::vector<int> small_;
  std::unordered_map<std::string, int> others_;
};

// The histogram layout of reaction times: bins of one round width from below the fastest.
struct BinLayout {
  double from = 0;  // ms
  double width = 0;
  int count = 0;
  int BinOf(double ms) const {
    const double bin = (ms - from) / width;
    return bin <= 0 ? 0 : bin >= count - 1 ? count - 1 : static_cast<int>(bin);
  }
};
// Round widths (1, 2 or 5 times a power of ten) giving at most `most` bins over [low, high].
BinLayout LayoutBins(double low, double high, int most);
// How many bins a histogram of `values` times may have: about their square root, so that a few
// dozen trials make a few wide bars instead of scattered slivers, from 5 to 40.
int MostBinsFor(long values);

}  // namespace trelvox::analysis
