#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Errors.h"

namespace trelvox {

// Counters, indexes, channels and typed numbers are 16-bit signed quantities.
inline constexpr int kInt16Max = 32767;
inline constexpr int kInt16Min = -32768;

// Adds one to a 16-bit counter, or raises OverflowError naming what overflowed.
inline void IncrementCounter(std::int16_t& counter, std::string_view what) {
  if (counter >= kInt16Max) {
    throw OverflowError("Overflow: " + std::string(what) + " passed 32767.");
  }
  ++counter;
}

}  // namespace trelvox
