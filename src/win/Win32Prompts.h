#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Prompts.h"

namespace trelvox {

class WinApplication;

// The boxes and the file dialog of Windows. Message boxes have no icon; Yes/No boxes answer
// only Yes or No; the input box is a modal dialog whose Cancel gives empty text; the file
// dialogs are the common ones.
class Win32Prompts final : public Prompts {
 public:
  explicit Win32Prompts(const WinApplication& app) : app_(app) {}

  Answer ShowMessage(const MessageRequest& request) override;
  std::string ShowInput(const InputRequest& request) override;
  std::string ShowFileDialog(const FileDialogRequest& request) override;

 private:
  // The window a box belongs to: the one the user is working in, or the main window.
  HWND Owner() const;

  const WinApplication& app_;
};

// "desc|pattern|desc|pattern" as the common dialog wants it: each part ended by a zero, and
// one more zero at the end.
std::string WindowsFilterFromPairs(std::string_view filter);

// The input box on its own, for the prompts and the tests: a modal dialog over the owner.
std::string InputBox(HINSTANCE instance, HWND owner, int dpi, const std::string& prompt,
                     const std::string& title);

}  // namespace trelvox
