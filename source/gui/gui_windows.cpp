// The editor's window classes, windows, timer and window procedures.
#include <initializer_list>

#include <cstdio>

#include "../module_instance.h"
#include "gui.h"

namespace {

Gui* guiOf(HWND window) { return reinterpret_cast<Gui*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

bool registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_GLOBALCLASS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = moduleInstance;
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

// Class names come from the tick count, so instances differ. Instances made in
// the same millisecond (a host loading a project) would collide and the first
// one closed would unregister the other's classes: the next free count is taken.
void Gui::registerClasses() {
  DWORD tick = GetTickCount();
  for (int attempt = 0; attempt < 1000; attempt++, tick += 4) {
    std::snprintf(mainClass, sizeof mainClass, "V1%0xld", unsigned(tick));
    std::snprintf(veClass, sizeof veClass, "V2%0xld", unsigned(tick + 1));
    timerId = tick + 3;
    if (!registerClass(mainClass, mainProc)) continue;
    if (registerClass(veClass, veWndProc)) return;
    UnregisterClassA(mainClass, moduleInstance);
  }
}

void Gui::createWindow() {
  if (mainWnd && IsWindow(mainWnd)) DestroyWindow(mainWnd);  // a child left from the last open
  mainWnd = CreateWindowExA(0, mainClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kEditorWidth,
                            kEditorHeight, static_cast<HWND>(systemWindow), nullptr, moduleInstance, nullptr);
  if (!mainWnd) return;
  SetWindowLongPtrA(mainWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  setTimerON();
}

void Gui::setTimerON() { SetTimer(mainWnd, timerId, 5, nullptr); }

// A window destroyed by someone else (the host's parent going away) is forgotten,
// so that no stale handle is ever destroyed or drawn on.
void Gui::forgetWindow(HWND window) {
  for (HWND* recorded : {&mainWnd, &veWnd, &dlgWnd})
    if (*recorded == window) *recorded = nullptr;
}

LRESULT CALLBACK Gui::mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Gui* gui = guiOf(window);
  if (!gui) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paintInfo;
      HDC target = BeginPaint(window, &paintInfo);
      if (gui->isOpen()) gui->paint(target);  // after close there are no bitmaps to draw with
      EndPaint(window, &paintInfo);
      return 0;
    }
    case WM_ERASEBKGND:  // paint covers the whole window
    case WM_SETCURSOR:   // the cursor is set on mouse moves
      return 1;
    case WM_TIMER:
      gui->onTimer();
      return 0;
    case WM_MOUSEMOVE:
      gui->mouseMove(wParam, lParam);
      gui->changeCursor();
      return 0;
    case WM_LBUTTONDOWN:
      gui->leftBtnDown(int16_t(LOWORD(lParam)), int16_t(HIWORD(lParam)));
      return 0;
    case WM_LBUTTONUP:
      gui->leftBtnUp();
      return 0;
    case WM_CAPTURECHANGED:  // another window took the mouse: its button-up will not come here
      if (reinterpret_cast<HWND>(lParam) != window) gui->endDrag();
      break;
    case WM_RBUTTONDOWN:
      gui->rghtBtnDown(int16_t(LOWORD(lParam)), int16_t(HIWORD(lParam)));
      return 0;
    case WM_NCDESTROY:
      gui->forgetWindow(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK Gui::veWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Gui* gui = guiOf(window);
  if (!gui) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      gui->paintVeWnd();
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      gui->forgetWindow(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
