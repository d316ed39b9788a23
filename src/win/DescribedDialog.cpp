#include "win/DescribedDialog.h"

#include "win/WinApplication.h"

namespace trelvox {

DescribedDialog::~DescribedDialog() {
  if (hwnd_ != nullptr && !modal_) {
    HWND window = hwnd_;
    SetWindowLongPtrA(window, DWLP_USER, 0);
    hwnd_ = nullptr;
    DestroyWindow(window);
  }
}

void DescribedDialog::CreateModeless(DWORD style, HWND owner) {
  const DialogTemplate dialog(style);
  CreateDialogIndirectParamA(app_.Instance(), dialog.Get(), owner, Procedure,
                             reinterpret_cast<LPARAM>(this));
}

void DescribedDialog::ShowModal(DWORD style, HWND owner) {
  modal_ = true;
  const DialogTemplate dialog(style);
  DialogBoxIndirectParamA(app_.Instance(), dialog.Get(), owner, Procedure,
                          reinterpret_cast<LPARAM>(this));
}

void DescribedDialog::Close() {
  if (hwnd_ == nullptr) {
    return;
  }
  if (modal_) {
    EndDialog(hwnd_, 0);
  } else {
    DestroyWindow(hwnd_);
  }
}

HWND DescribedDialog::ControlAt(std::size_t index) const {
  return hwnd_ == nullptr ? nullptr : GetDlgItem(hwnd_, ControlIdAt(index));
}

bool DescribedDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
  return false;
}

void DescribedDialog::Initialise(HWND window) {
  hwnd_ = window;
  SetWindowTextA(window, description_.caption);
  SetClientSize(window, description_.clientWidth, description_.clientHeight, app_.Dpi());
  BuildControls(window, description_, app_.Fonts(), app_.Images());
  for (const ControlDescription& control : description_.controls) {
    if (control.isDefault) {
      SendMessageA(window, DM_SETDEFID, static_cast<WPARAM>(ControlIdAt(control.id)), 0);
    }
  }
  // A window of its own in the task bar carries the program's icon; an owned dialog has none.
  const Pictures& pictures = app_.Images();
  if (pictures.icon != nullptr && GetWindow(window, GW_OWNER) == nullptr) {
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(pictures.icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(pictures.icon));
  }
  Form_Load();
  // Through the dialog manager rather than SetFocus, so that a focused push button becomes the
  // dialog's default button and Enter presses it at once.
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ControlAt(description_.firstFocus)),
               TRUE);
}

INT_PTR CALLBACK DescribedDialog::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DescribedDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->Initialise(window);
    return FALSE;  // the focus is set
  }
  auto* self = reinterpret_cast<DescribedDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) {
    return FALSE;
  }
  INT_PTR result = FALSE;
  if (self->OnMessage(message, wParam, lParam, result)) {
    return result;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        self->OnCommand(LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      // The close box: the same as a Cancel that stores nothing.
      self->Close();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, DWLP_USER, 0);
      self->hwnd_ = nullptr;
      if (!self->modal_) {
        self->app_.WindowClosed(window);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace trelvox
