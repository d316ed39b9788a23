#include "record/FileHelpers.h"

#include <cerrno>

#include "platform/FileChannels.h"
#include "platform/Ui.h"

namespace trelvox {

namespace {

// Returned when a method other than I, O and A is asked for, so that callers never take an
// unopened channel for an open one.
constexpr int kMethodNotDefined = 1;

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

int OpenFile(FileChannels& files, Ui& ui, const std::string& path, std::int16_t& channel,
             std::string& method) {
  method = UpperCase(method);
  channel = files.FreeChannel();
  OpenMode mode;
  if (method == "I") {
    mode = OpenMode::Input;
  } else if (method == "O") {
    mode = OpenMode::Output;
  } else if (method == "A") {
    mode = OpenMode::Append;
  } else {
    ui.Problem("Method in OpenFile() Not Defined: " + method);
    return kMethodNotDefined;
  }
  OpenResult result;
  if (channel == 0) {
    result = {EMFILE, "Too many files are open (no free file channel)."};
  } else {
    result = files.Open(channel, path, mode);
  }
  if (result.errorNumber > 0) {
    ui.Problem(result.description);
    ui.Problem("Error opening file: " + path);
  }
  return result.errorNumber;
}

std::string GetFileName(Ui& ui, std::string& name, std::string& dialogType, std::string_view title,
                        std::string_view filter) {
  dialogType = UpperCase(dialogType);
  FileDialogRequest request{FileDialogKind::Open, std::string(title), std::string(filter), false};
  name.clear();
  if (dialogType == "S") {
    request.kind = FileDialogKind::Save;
    request.confirmOverwrite = true;
    name = ui.ChooseFile(request);
  } else if (dialogType == "O") {
    name = ui.ChooseFile(request);
  } else {
    ui.Problem("DialogType in GetFileName() Not Defined: " + dialogType);
  }
  return name;
}

}  // namespace trelvox
