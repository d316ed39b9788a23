#include <windows.h>

#include <commctrl.h>

#include "win/WinApplication.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  trelvox::WinOptions options;
  options.instance = instance;
  trelvox::WinApplication application(std::move(options));
  application.Main();
  return application.Run();
}
