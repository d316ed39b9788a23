#include "record/FileHelpers.h"

#include <cerrno>

#include "platform/FileChannels.h"
#include "platform/Ui.h"

namespace trelvox {

int OpenFile(FileChannels& files, Ui& ui, const std::string& path, std::int16_t& channel,
             OpenMode mode) {
  channel = files.FreeChannel();
  OpenResult result;
  if (channel == 0) {
    result = {EMFILE, "Too many files are open (no free file channel)."};
  } else {
    result = files.Open(channel, path, mode);
  }
  if (result.errorNumber > 0) {
    ui.Problem(MessageId::OpenFailureReason, result.description);
    ui.Problem(MessageId::ErrorOpeningFile, "Error opening file: " + path);
  }
  return result.errorNumber;
}

std::string GetFileName(Ui& ui, std::string& name, FileDialogRequest request) {
  request.confirmOverwrite = request.kind == FileDialogKind::Save;
  name = ui.ChooseFile(request);
  return name;
}

}  // namespace trelvox
