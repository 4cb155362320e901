// The editor: a 600 by 155 child window drawn from the skin bitmaps. The effect
// tells it of every parameter change through updateControl, which only marks
// controls; a 5 ms window timer redraws what was marked.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../../base/aeff_editor.h"
#include "../parameters.h"
#include "../pval.h"
#include "layout.h"

class AudioEffect;

struct Knob {
  Region region;
  int32_t frame;    // 0 to 79, the strip frame shown
  int32_t dragPos;  // 0 to 158, kept between drags
  bool resync;      // changed from elsewhere: the next drag starts from frame × 2
};

// trunc(value × 79) in double, limited to the strip; NaN shows the middle frame.
inline int32_t knobFrameFor(float value) { return truncateClamped(double(value) * 79.0, 0, kKnobFrames - 1, 39); }

class Gui : public AEffEditor {
 public:
  explicit Gui(AudioEffect* effect);
  ~Gui() override;

  VstInt32 getRect(ERect** rect) override;
  VstInt32 open(void* parentWindow) override;
  void close() override;

  // Called by the effect, on any thread, after it stored a value: marks only.
  void updateControl(float value, int32_t index);

  PVAL* sharedRecord() const { return pval; }
  int32_t learnTarget = -1;  // -1 never armed, 0 cleared, 1 to 7 the band waiting for a controller
  // Counts the gestures that armed a learn: each one binds the next control change,
  // even when it names the band that learned last.
  int32_t learnGesture = 0;

  friend struct GuiInspector;  // white-box tests

 private:
  // Windows and timer.
  void registerClasses();
  void createWindow();
  void setTimerON();
  void onTimer();
  static LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK veWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void forgetWindow(HWND window);
  bool isOpen() const { return skinDC != nullptr; }

  // Drawing.
  void loadBitmaps();
  void releaseBitmaps();
  void paint(HDC target);
  void paintKnob(const Region& region, int32_t frame);
  void drawMultipleKnob(const Region& region, int32_t frame, HDC target, HDC work, HDC mask, HDC strip);
  void drawPush(const Region& region, HDC target, HBITMAP bitmap, int width, int sourceRow);
  void paintVeWnd();

  // Mouse.
  void leftBtnDown(int16_t x, int16_t y);
  void mouseMove(WPARAM keys, LPARAM position);
  void leftBtnUp();
  void endDrag();
  void rghtBtnDown(int16_t x, int16_t y);
  void changeCursor();
  void displayStatus();
  void createVeWnd(int x, int y);

  // Colour and configuration dialog.
  void changeHue();
  void setHueVal(int32_t value);
  void createDialog();
  static INT_PTR CALLBACK dlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void storeDlgConf();
  void readStoredColour();

  ERect rect{0, 0, kEditorHeight, kEditorWidth};
  HWND mainWnd = nullptr;
  HWND veWnd = nullptr;
  HWND dlgWnd = nullptr;
  HRGN frameRgn = nullptr;
  HDC windowDC = nullptr;
  HDC skinDC = nullptr;
  HBITMAP skinBitmap = nullptr;
  HGDIOBJ skinDCDefault = nullptr;  // what skinDC held before the skin was selected
  BITMAP skinInfo{};
  HBITMAP knobStrip = nullptr, knobMask = nullptr, statusLearning = nullptr, statusForgot = nullptr,
          qButton1 = nullptr, qButton2 = nullptr, qButton3 = nullptr, qButtonRow = nullptr;
  HBITMAP dialogPicture = nullptr;  // the colour dialog's, from its creation to its destruction
  Region configRgn{};
  Region qRgn[kBands][kQButtons]{};
  PVAL* pval;
  Knob knob[kBands] = {};
  HCURSOR handCursor = nullptr, arrowCursor = nullptr;
  int16_t mouseX = 0, mouseY = 0;
  char mainClass[32] = {};
  char veClass[32] = {};
  UINT_PTR timerId = 0;
  int32_t activeControl = 0;  // 0, or 1000 + band while that knob is dragged
  int lastY = 0;              // screen y of the previous drag step; 0: none
  bool firstOpen = true;
  bool showForgot = false;
  bool anyChanged = false;
  bool knobChanged[kBands] = {};
  bool qChanged[kBands] = {};
};
