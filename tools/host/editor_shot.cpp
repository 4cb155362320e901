// `editor`: opens the plug-in's editor in a window of ours and saves what it
// shows as a 24-bit BMP.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "picture.h"
#include "plugin.h"

namespace {

void pump(DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(1);
  } while (GetTickCount() - start < milliseconds);
}

bool writeBmp(const std::string& path, int width, int height, const std::vector<uint8_t>& rows) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = DWORD(rows.size());
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                 std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace

int runEditorShot(const std::string& pluginPath, const std::string& outPath, int program) {
  Plugin plugin;
  std::string error;
  if (!plugin.load(pluginPath, error)) {
    std::fprintf(stderr, "r4m-host: %s\n", error.c_str());
    return 1;
  }
  ERect* rect = nullptr;
  plugin.dispatch(effEditGetRect, 0, 0, &rect);
  if (!rect) {
    std::fprintf(stderr, "r4m-host: the plug-in has no editor\n");
    return 1;
  }
  int width = rect->right - rect->left, height = rect->bottom - rect->top;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "R4MHostEditorFrame";
  RegisterClassA(&windowClass);
  HWND frame = CreateWindowExA(0, windowClass.lpszClassName, "R4-M", WS_POPUP | WS_VISIBLE, 50, 50, width, height,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
  plugin.dispatch(effSetProgram, 0, program);
  plugin.dispatch(effEditOpen, 0, 0, frame);
  pump(150);  // the first paint and a few timer ticks

  HDC source = GetDC(frame);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
  std::vector<uint8_t> rows(static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + rowBytes * height);
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(frame, source);
  plugin.dispatch(effEditClose);
  DestroyWindow(frame);
  if (isFlatPicture(rows, width, height, rowBytes)) {
    std::fprintf(stderr, "r4m-host: the editor's window shows a single flat colour: it was never drawn "
                         "(is Wine's display reachable?)\n");
    return 1;
  }
  if (!writeBmp(outPath, width, height, rows)) {
    std::fprintf(stderr, "r4m-host: cannot write %s\n", outPath.c_str());
    return 1;
  }
  std::printf("editor of program %d saved to %s\n", program, outPath.c_str());
  return 0;
}
