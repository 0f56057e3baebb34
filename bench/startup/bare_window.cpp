// The yardstick of the start-up benchmark: a window with the main window's frame and client
// size that loads what the tool loads (the same runtime, manifest and system libraries, common
// controls initialised) and does nothing else. The time it takes to show up painted is what
// any program of this kind pays before its own work begins.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace {

constexpr int kClientWidth = 442;
constexpr int kClientHeight = 364;

// Imported, never called: the shell, drawing, common dialog and registry libraries are loaded and
// bound at start-up as they are for the tool.
void* volatile imported[] = {
    reinterpret_cast<void*>(&ShellExecuteA), reinterpret_cast<void*>(&GetStockObject),
    reinterpret_cast<void*>(&GetOpenFileNameA), reinterpret_cast<void*>(&RegOpenKeyExA)};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  InitCommonControls();

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "BareWindow";
  if (!RegisterClassExA(&window_class)) {
    return 1;
  }
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, "BareWindow", "Bare window", style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (!window) {
    return 1;
  }
  ShowWindow(window, show_command);
  UpdateWindow(window);
  SetForegroundWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam) + (imported[0] == nullptr ? 1 : 0);
}
