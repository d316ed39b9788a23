#pragma once

#include <string>

#include "parse/RunState.h"
#include "platform/FileChannels.h"
#include "platform/Prompts.h"

namespace trelvox {

// A problem box shown straight to the user: going through the Ui would try to flush a failing
// file once more.
void ShowProblemBox(Prompts& boxes, const std::string& text);

// What File > Exit does in both desktop programs: closes the subject and input files. A write
// that fails at the close is told in a box instead of escaping the menu handler.
void CloseFilesAtExit(const RunState& state, FileChannels& files, Prompts& boxes);

}  // namespace trelvox
