// The Windows program: the real window system, registry and shell behind the App.
#include "platform/win32/views/win32_ui_handles.h"

#include <exception>
#include <string>

#include "app/app.h"
#include "platform/win32/backend/win32_backends.h"
#include "platform/win32/backend/win32_failures.h"
#include "platform/win32/views/win32_event_loop.h"
#include "platform/win32/views/win32_views.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
  // Without them only the list with check boxes is missing, and creating it reports that.
  InitCommonControlsEx(&controls);
  try {
    pw::win32::Win32EventLoop loop(instance);
    pw::win32::Win32ViewFactory views(instance);
    pw::forms::Toolkit toolkit(loop, views);
    toolkit.onFailure = [](const std::string& what) { pw::win32::WriteFailure(what); };
    loop.Attach(toolkit);
    pw::win32::Win32Registry registry(&loop.Waits());
    pw::win32::Win32WindowSystem windows;
    pw::win32::Win32Shell shell;
    pw::win32::Win32Input input(loop);
    pw::win32::Win32Process process;
    pw::win32::Win32ForegroundEvents foregroundEvents;
    pw::win32::Win32OwnerLine owner(input);
    pw::win32::Win32TextRules text;
    pw::App app(pw::Platform{windows, registry, shell, input, process, toolkit, foregroundEvents,
                             text, owner});
    app.Run();
    return static_cast<int>(app.exitCode);
  } catch (const std::exception& failure) {
    // The program shows no message boxes; what ended it is written for an administrator.
    pw::win32::WriteFailure(std::string("The guard ended: ") + failure.what());
    return 1;
  }
}
