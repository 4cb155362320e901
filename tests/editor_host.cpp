#include "editor_host.h"

#include "gui/hue.h"
#include "gui/layout.h"

namespace {

Picture fromBitmap(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  Picture picture;
  picture.width = info.bmWidth;
  picture.height = info.bmHeight;
  picture.pixels.resize(size_t(picture.width) * picture.height);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = picture.width;
  format.bmiHeader.biHeight = -picture.height;  // top down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  return picture;
}

}  // namespace

Picture resourcePicture(HMODULE module, int id, std::vector<int> hues) {
  auto bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return {};
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  for (int hue : hues)
    shiftHue(static_cast<uint8_t*>(info.bmBits), info.bmWidth, info.bmHeight, info.bmWidthBytes, uint8_t(hue & 0xFF));
  Picture picture = fromBitmap(bitmap);
  DeleteObject(bitmap);
  return picture;
}

Picture capture(HWND window, int width, int height) {
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  Picture picture = fromBitmap(bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return picture;
}

void pump(DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  } while (GetTickCount() - start < milliseconds);
}

// Wine takes the pointer position back from the X server, whose reports of
// earlier moves may still be on their way: wait until the cursor has stayed
// where it was put.
void moveCursor(POINT point) {
  SetCursorPos(point.x, point.y);
  int steady = 0;
  for (int attempt = 0; attempt < 500 && steady < 5; attempt++) {
    pump(1);
    POINT now;
    GetCursorPos(&now);
    if (now.x == point.x && now.y == point.y) {
      steady++;
    } else {
      steady = 0;
      SetCursorPos(point.x, point.y);
    }
  }
}

void holdKeys(bool control, bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = control ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
}

Picture expectedPanel(HMODULE module, std::vector<int> hues, const int frames[7], const int qSels[7]) {
  Picture panel = resourcePicture(module, 4096, hues);
  Picture strip = resourcePicture(module, 4097), mask = resourcePicture(module, 4098);
  const int buttonIds[3] = {4102, 4103, 4104};
  for (int band = 1; band <= 7; band++) {
    Region knob = knobRegion(band);
    for (int y = 0; y < kKnobSize; y++)
      for (int x = 0; x < kKnobSize; x++) {
        uint32_t& pixel = panel.at(knob.left + x, knob.top + y);
        pixel = (pixel & mask.at(x, y)) | strip.at(x, kKnobSize * frames[band - 1] + y);
      }
    int selector = qSels[band - 1];
    if (selector < 0 || selector > 2) continue;
    Picture button = resourcePicture(module, buttonIds[selector]);
    Region place = qButtonRegion(band, selector + 1);
    for (int y = 0; y < kQButtonHeight; y++)
      for (int x = 0; x < kQButtonWidth; x++) panel.at(place.left + x, place.top + y) = button.at(x, kQButtonHeight + y);
  }
  return panel;
}

namespace {
const char kHostClass[] = "R4MTestHostWindow";
}

EditorHost::EditorHost(PluginLibrary& library) : library(library) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostClass;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
  hostWindow = CreateWindowExA(0, kHostClass, "host", WS_POPUP | WS_VISIBLE, 100, 100, 640, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  if (library.main) effect = library.main(RecordingHost::callback());
}

EditorHost::~EditorHost() {
  if (effect) {
    close();
    closeEffect(effect);
  }
  DestroyWindow(hostWindow);
  pump(10);
}

bool EditorHost::open() {
  if (dispatch(effect, effEditOpen, 0, 0, hostWindow) != 1) return false;
  editorWindow = FindWindowExA(hostWindow, nullptr, nullptr, nullptr);
  pump(60);  // the first paint and a few timer ticks
  return editorWindow != nullptr;
}

void EditorHost::close() {
  dispatch(effect, effEditClose);
  pump(10);
}

POINT EditorHost::screen(int x, int y) {
  POINT point{x, y};
  ClientToScreen(editorWindow, &point);
  return point;
}

void EditorHost::leftDown(int x, int y) { SendMessageA(editorWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }

void EditorHost::rightDown(int x, int y) { SendMessageA(editorWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y)); }

void EditorHost::dragTo(int x, int y) {
  moveCursor(screen(x, y));
  SendMessageA(editorWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}
