#include "analysis/Figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace trelvox::analysis {

std::optional<double> Spread::Sd() const {
  if (count_ < 2) {
    return std::nullopt;
  }
  return std::sqrt(squares_ / static_cast<double>(count_ - 1));
}

Centis RoundedQuotient(Centis sum, long count) {
  const bool negative = sum < 0;
  const Centis magnitude = negative ? -sum : sum;
  Centis quotient = magnitude / count;
  const Centis twiceRest = 2 * (magnitude % count);
  if (twiceRest > count || (twiceRest == count && quotient % 2 != 0)) {
    ++quotient;
  }
  return negative ? -quotient : quotient;
}

void RtFigures::Add(Centis rt) {
  constexpr Centis kLargest = std::numeric_limits<std::int32_t>::max();
  sum_ += rt;
  values_.push_back(static_cast<std::int32_t>(std::clamp(rt, -kLargest, kLargest)));
  median_.reset();
}

std::optional<Centis> RtFigures::MeanCentis() const {
  if (Count() == 0) {
    return std::nullopt;
  }
  return RoundedQuotient(sum_, Count());
}

std::optional<Centis> RtFigures::MedianCentis() {
  if (values_.empty() || median_) {
    return median_;
  }
  const std::size_t middle = values_.size() / 2;
  std::nth_element(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(middle),
                   values_.end());
  const Centis upper = values_[middle];
  if (values_.size() % 2 != 0) {
    median_ = upper;
  } else {
    const Centis lower =
        *std::max_element(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(middle));
    median_ = RoundedQuotient(lower + upper, 2);
  }
  return median_;
}

std::optional<double> RtFigures::SdCentis() const {
  if (values_.size() < 2) {
    return std::nullopt;
  }
  const double mean = static_cast<double>(sum_) / static_cast<double>(values_.size());
  double squares = 0;
  for (const std::int32_t value : values_) {
    squares += (value - mean) * (value - mean);
  }
  return std::sqrt(squares / static_cast<double>(values_.size() - 1));
}

std::optional<double> ErrorRate(long failed, long withOutcome, long trials) {
  if (withOutcome == 0 || withOutcome < trials) {
    return std::nullopt;
  }
  return static_cast<double>(failed) / static_cast<double>(withOutcome);
}

int ItemIndex::SmallNumber(std::string_view text) {
  const std::size_t size = text.size();
  if (size - 1 >= kSmallDigits || (size > 1 && text[0] == '0')) {
    return -1;  // empty, too long, or a leading zero that the text must keep
  }
  unsigned value = 0;
  for (const char c : text) {
    const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) {
      return -1;
    }
    value = value * 10 + digit;
  }
  return static_cast<int>(value);
}

int ItemIndex::Find(std::string_view text) const {
  const int number = SmallNumber(text);
  if (number >= 0) {
    return static_cast<std::size_t>(number) < small_.size() ? small_[number] : -1;
  }
  const auto found = others_.find(std::string(text));
  return found == others_.end() ? -1 : found->second;
}

int ItemIndex::FindOrAdd(std::string_view text, int next) {
  const int number = SmallNumber(text);
  if (number >= 0) {
    if (static_cast<std::size_t>(number) >= small_.size()) {
      small_.resize(static_cast<std::size_t>(number) + 1, -1);
    }
    int& index = small_[static_cast<std::size_t>(number)];
    if (index < 0) {
      index = next;
    }
    return index;
  }
  return others_.emplace(std::string(text), next).first->second;
}

BinLayout LayoutBins(double low, double high, int most) {
  BinLayout layout;
  const double span = std::max(high - low, 1.0);
  // Reaction times are hundredths of a millisecond; bins narrower than one say nothing more.
  double power = std::max(1.0, std::pow(10.0, std::floor(std::log10(span / most))));
  for (;; power *= 10) {
    for (const double step : {1.0, 2.0, 5.0}) {
      layout.width = step * power;
      layout.from = std::floor(low / layout.width) * layout.width;
      layout.count = static_cast<int>(std::floor((high - layout.from) / layout.width)) + 1;
      if (layout.count <= most) {
        return layout;
      }
    }
  }
}

int MostBinsFor(long values) {
  constexpr int kFewest = 5;
  constexpr int kMost = 40;
  const auto root = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(values))));
  return std::clamp(root, kFewest, kMost);
}

}  // namespace trelvox::analysis
