#pragma once

#include <cstdint>
#include <string>

#include "platform/FileChannels.h"
#include "platform/Prompts.h"

namespace trelvox {

class Ui;

// Opens `path` on the lowest free channel, stored into `channel` before anything is tried: for
// reading, for writing from empty, or for appending. Returns 0 when the file is open; otherwise
// shows the failure and returns a positive number.
int OpenFile(FileChannels& files, Ui& ui, const std::string& path, std::int16_t& channel,
             OpenMode mode);

// Shows the open or save dialog that `request` describes; a save dialog asks before an
// existing file is chosen, since it would be replaced. The chosen path lands in `name` and is
// returned; both are empty when the user cancels.
std::string GetFileName(Ui& ui, std::string& name, FileDialogRequest request);

}  // namespace trelvox
