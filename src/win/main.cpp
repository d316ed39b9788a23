#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "win/WinApplication.h"
#include "win/WinShellFiles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  // The shell's folder chooser needs COM on the window's thread.
  OleInitialize(nullptr);
  trelvox::WinOptions options;
  options.instance = instance;
  // "trelvox.exe FILE...", as Explorer's Open with starts it: the files go to the Analyze window.
  // Named from a console they may be relative: the list shows where they are.
  for (const std::string& argument : trelvox::ArgumentsOf(GetCommandLineW())) {
    options.filesToAnalyse.push_back(trelvox::FullPathOf(argument));
  }
  trelvox::WinApplication application(std::move(options));
  application.Main();
  const int status = application.Run();
  OleUninitialize();
  return status;
}
