#include "desktop/OptionBoxes.h"

namespace trelvox {

namespace {

constexpr OptionBinding kBindings[] = {
    {SaveOptionsControl::ChkIndFiles, &RunOptions::SaveIndFiles, true},
    {SaveOptionsControl::chkSaveCounters, &RunOptions::SaveCounters, true},
    {SaveOptionsControl::chkZOR, &RunOptions::ZORFormat, false},
    {SaveOptionsControl::chkCOT, &RunOptions::COTIncluded, false},
};

}  // namespace

std::span<const OptionBinding> OptionBindings() {
  return kBindings;
}

void ShowOptions(const RunOptions& options, OptionBoxes& boxes) {
  for (const OptionBinding& binding : kBindings) {
    boxes.SetChecked(binding.box, options.*binding.flag);
  }
}

void StoreOptions(const OptionBoxes& boxes, RunOptions& options) {
  for (const OptionBinding& binding : kBindings) {
    options.*binding.flag = boxes.IsChecked(binding.box);
  }
}

void ShowFileOptions(const RunOptions& options, OptionBoxes& boxes) {
  for (const OptionBinding& binding : kBindings) {
    if (binding.choosesFiles) {
      boxes.SetChecked(binding.box, options.*binding.flag);
    }
  }
}

}  // namespace trelvox
