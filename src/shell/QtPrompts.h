#pragma once

#include "platform/Prompts.h"

class QWidget;

namespace trelvox {

class Application;

// The boxes and the file dialog drawn with Qt. Texts are bytes in the local 8-bit encoding;
// boxes have no icon; the file dialog is the main window's own, reused by every call.
class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(const Application& app) : app_(app) {}

  Answer ShowMessage(const MessageRequest& request) override;
  std::string ShowInput(const InputRequest& request) override;
  std::string ShowFileDialog(const FileDialogRequest& request) override;

 private:
  // The window a box belongs to: the box or window the user is working in.
  QWidget* Owner() const;

  const Application& app_;
};

}  // namespace trelvox
