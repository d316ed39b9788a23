#include "win/WinApplication.h"

#include "win/RegistrySettingsStore.h"
#include "win/Win32Prompts.h"
#include "win/WinShellFiles.h"
#include "win/frmAnalyze.h"
#include "win/frmMain.h"
#include "win/frmSaveOptions.h"
#include "win/frmSplash.h"

namespace trelvox {

namespace {

// Starts the program in a new process with a normal, activated window, without waiting.
bool LaunchProgram(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  std::string commandLine = "\"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

WinApplication::WinApplication(WinOptions options)
    : instance_(options.instance != nullptr ? options.instance : GetModuleHandleA(nullptr)),
      prompts_(options.prompts ? std::move(options.prompts)
                               : std::make_unique<Win32Prompts>(*this)),
      session_(WithPlatformDefaults(std::move(options), std::make_unique<RegistrySettingsStore>(),
                                    LaunchProgram, OpenInShell),
               *prompts_),
      fonts_(SystemDpi()),
      pictures_(LoadPictures(instance_)) {}

WinApplication::~WinApplication() {
  swapping_ = true;  // the windows go with the program; no quit message for that
  analyze_.reset();
  saveOptions_.reset();
  mainForm_.reset();
  splash_.reset();
  if (pictures_.logo != nullptr) {
    DeleteObject(pictures_.logo);
  }
  if (pictures_.icon != nullptr) {
    DestroyIcon(pictures_.icon);
  }
}

void WinApplication::Main() {
  splash_ = std::make_unique<frmSplash>(*this);
  splash_->Show();
  ClearOptions(session_.State().options);
}

void WinApplication::Begin() {
  swapping_ = true;
  if (splash_ && splash_->Handle() != nullptr) {
    DestroyWindow(splash_->Handle());
  }
  mainForm_ = std::make_unique<frmMain>(*this);
  mainForm_->Form_Load();
  mainForm_->Show();
  swapping_ = false;
  if (!session_.FilesToAnalyse().empty()) {
    ShowAnalyze(session_.FilesToAnalyse());
  }
}

frmSplash* WinApplication::Splash() const {
  return splash_ && splash_->Handle() != nullptr ? splash_.get() : nullptr;
}

frmSaveOptions* WinApplication::SaveOptions() const {
  return saveOptions_ && saveOptions_->Handle() != nullptr ? saveOptions_.get() : nullptr;
}

frmSaveOptions& WinApplication::LoadSaveOptions() {
  if (!saveOptions_ || saveOptions_->Handle() == nullptr) {
    saveOptions_ = std::make_unique<frmSaveOptions>(*this);
    saveOptions_->Load();
  }
  return *saveOptions_;
}

frmAnalyze* WinApplication::Analyze() const {
  return analyze_ && analyze_->Handle() != nullptr ? analyze_.get() : nullptr;
}

frmAnalyze& WinApplication::ShowAnalyze(const std::vector<std::string>& inputs) {
  if (Analyze() == nullptr) {
    analyze_ = std::make_unique<frmAnalyze>(*this);
  }
  analyze_->Load(inputs);
  return *analyze_;
}

void WinApplication::WindowClosed(HWND window) {
  (void)window;
  if (swapping_) {
    return;
  }
  const bool anyLeft = Splash() != nullptr || SaveOptions() != nullptr || Analyze() != nullptr ||
                       (mainForm_ && mainForm_->Handle() != nullptr);
  if (!anyLeft) {
    PostQuitMessage(0);
  }
}

bool WinApplication::TranslateForWindows(MSG& message) {
  if (SaveOptions() != nullptr && IsDialogMessageA(saveOptions_->Handle(), &message)) {
    return true;
  }
  if (Analyze() != nullptr && IsDialogMessageA(analyze_->Handle(), &message)) {
    return true;
  }
  if (Splash() != nullptr && IsDialogMessageA(splash_->Handle(), &message)) {
    return true;
  }
  if (mainForm_ && mainForm_->Handle() != nullptr) {
    if (TranslateMDISysAccel(mainForm_->MdiClient(), &message) ||
        TranslateAcceleratorA(mainForm_->Handle(), mainForm_->Accelerators(), &message)) {
      return true;
    }
  }
  return false;
}

bool WinApplication::DispatchPending() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    return false;
  }
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));  // for Run to see
    return false;
  }
  if (!TranslateForWindows(message)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

int WinApplication::Run() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateForWindows(message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace trelvox
