#pragma once

#include <span>

#include "desktop/WindowLayout.h"
#include "parse/RunState.h"

namespace trelvox {

// Which switch of the run each check box of the options dialog edits.
struct OptionBinding {
  SaveOptionsControl box;
  bool RunOptions::*flag;
  bool choosesFiles;  // "Change Save Options" sets it from its flag again on an open dialog
};

// The four boxes, in the order the dialog loads and stores them.
std::span<const OptionBinding> OptionBindings();

// The options dialog's check boxes as a toolkit draws them.
class OptionBoxes {
 public:
  virtual ~OptionBoxes() = default;
  // Only a ticked box counts as checked; a greyed one does not.
  virtual bool IsChecked(SaveOptionsControl box) const = 0;
  virtual void SetChecked(SaveOptionsControl box, bool checked) = 0;
};

// The dialog's load step: every box from its switch.
void ShowOptions(const RunOptions& options, OptionBoxes& boxes);
// Its OK: every switch from its box.
void StoreOptions(const OptionBoxes& boxes, RunOptions& options);
// "Change Save Options" on a dialog already open: the two file switches from their flags; the
// other boxes keep what the user ticked.
void ShowFileOptions(const RunOptions& options, OptionBoxes& boxes);

}  // namespace trelvox
