#pragma once

#include <windows.h>

#include <cstddef>

#include "desktop/WindowLayout.h"
#include "win/WinControls.h"

namespace trelvox {

class WinApplication;

// A window drawn from its shared description as a dialog, so that Windows' dialog manager
// gives it tab order, access keys, the default button and Escape.
class DescribedDialog {
 public:
  DescribedDialog(WinApplication& app, const WindowDescription& described)
      : app_(app), description_(described) {}
  virtual ~DescribedDialog();
  DescribedDialog(const DescribedDialog&) = delete;
  DescribedDialog& operator=(const DescribedDialog&) = delete;

  // Null once the window has gone.
  HWND Handle() const { return hwnd_; }
  const WindowDescription& Description() const { return description_; }

 protected:
  void CreateModeless(DWORD style, HWND owner);
  void ShowModal(DWORD style, HWND owner);
  void Close();  // ends a modal dialog, destroys a modeless one
  HWND ControlAt(std::size_t index) const;

  virtual void Form_Load() {}
  // A click or Enter on a control, or IDOK / IDCANCEL from the dialog manager.
  virtual void OnCommand(int id) = 0;
  // Any other message; true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  WinApplication& app_;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise(HWND window);

  const WindowDescription& description_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

// A described dialog whose controls are named by the ids of its window.
template <typename ControlId>
class DescribedWindow : public DescribedDialog {
 public:
  explicit DescribedWindow(WinApplication& app) : DescribedDialog(app, WindowOf(ControlId{})) {}

  HWND Control(ControlId id) const { return ControlAt(IndexOf(id)); }

 protected:
  // The command number the control sends.
  static int CommandOf(ControlId id) { return ControlIdAt(IndexOf(id)); }
  void SetText(ControlId id, const char* text) { SetWindowTextA(Control(id), text); }
};

}  // namespace trelvox
