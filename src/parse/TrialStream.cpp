#include "parse/TrialStream.h"

#include <algorithm>

namespace trelvox {

void TrialStream::Attach(TrialConsumer& consumer) {
  consumers_.push_back(&consumer);
  wantsOtherLines_ = wantsOtherLines_ || consumer.WantsOtherLines();
}

void TrialStream::Detach(TrialConsumer& consumer) {
  std::erase(consumers_, &consumer);
  wantsOtherLines_ = std::any_of(consumers_.begin(), consumers_.end(),
                                 [](const TrialConsumer* c) { return c->WantsOtherLines(); });
}

}  // namespace trelvox
