// A host window with the real editor inside, and the pictures to compare it with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "test_host.h"

// 0x00RRGGBB pixels, rows top down.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
  uint32_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
};

// Reads a 24-bit bitmap resource of the plug-in, recoloured as the editor does
// with each hue in turn (none: as stored).
Picture resourcePicture(HMODULE module, int id, std::vector<int> hues = {});
// What the window shows now (its client area, from the screen).
Picture capture(HWND window, int width, int height);
// Runs the thread's messages for a while: paints, timer ticks, popups.
void pump(DWORD milliseconds);
// Puts the real cursor at a screen point and waits until Wine reports it there.
void moveCursor(POINT point);
// Ctrl and Shift held or not in this thread's key state, which GetKeyState reads.
void holdKeys(bool control, bool shift);

// The skin with the knobs at `frames` and the lit Q button of each band's `qSel` drawn on it.
Picture expectedPanel(HMODULE module, std::vector<int> hues, const int frames[7], const int qSels[7]);

class EditorHost {
 public:
  explicit EditorHost(PluginLibrary& library);
  ~EditorHost();
  bool open();  // effEditOpen into the host window; finds the editor's child window
  void close();
  AEffect* effect = nullptr;
  HWND hostWindow = nullptr;
  HWND editorWindow = nullptr;
  Picture shot() { return capture(editorWindow, 600, 155); }
  // Client coordinates of the editor to screen coordinates.
  POINT screen(int x, int y);
  // Mouse messages at client points of the editor, as a user's hand gives them.
  void leftDown(int x, int y);
  void rightDown(int x, int y);
  // Moves the real cursor to a client point and tells the window, as a drag does.
  void dragTo(int x, int y);

 private:
  PluginLibrary& library;
};
