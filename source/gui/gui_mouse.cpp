// Mouse gestures: knob drags, Q buttons, the logo, MIDI learn and forget.
#include "../../base/audio_effect.h"
#include "../module_instance.h"
#include "../shared_word.h"
#include "gui.h"

namespace {
bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }
constexpr float kQValues[kQButtons] = {0.0f, 0.1f, 0.2f};  // wide, medium, narrow
}  // namespace

void Gui::leftBtnDown(int16_t x, int16_t y) {
  endDrag();  // a drag whose button-up went elsewhere ends with the next press
  for (int band = 0; band < kBands; band++) {
    if (checkMouseRgn(knob[band].region, x, y)) {
      storeShared(activeControl, kFirstKnobControl + band);  // the drag starts with the first move
      return;
    }
  }
  if (checkMouseRgn(configRgn, x, y)) {
    if (dlgWnd && IsWindowVisible(dlgWnd)) {
      DestroyWindow(dlgWnd);  // closed this way, the colour is not stored
      dlgWnd = nullptr;
    } else {
      createDialog();
    }
  }
  HBITMAP buttons[kQButtons] = {qButton1, qButton2, qButton3};
  for (int button = 0; button < kQButtons; button++) {
    for (int band = 0; band < kBands; band++) {
      if (!checkMouseRgn(qRgn[band][button], x, y)) continue;
      if (isOpen()) {
        drawPush(qRgn[band][button], windowDC, buttons[button], kQButtonWidth, kQButtonHeight);
        int32_t before = loadShared(pval->qSel[band]);
        if (before != button && before >= 0 && before < kQButtons)
          drawPush(qRgn[band][before], windowDC, buttons[before], kQButtonWidth, 0);
      }
      effect->setParameter(kFirstQParam + band, kQValues[button]);
      return;
    }
  }
}

void Gui::mouseMove(WPARAM keys, LPARAM position) {
  mouseX = int16_t(LOWORD(position));
  mouseY = int16_t(HIWORD(position));
  if (!(keys & MK_LBUTTON)) return;
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;  // no position to take a step from
  SetCapture(mainWnd);
  int32_t control = loadShared(activeControl);
  if (control < kFirstKnobControl || control >= kFirstKnobControl + kBands) return;
  Knob& dragged = knob[control - kFirstKnobControl];
  int y = cursor.y;
  int start = dragged.dragPos;
  if (loadShared(dragged.resync)) {
    storeShared(dragged.resync, false);
    start = loadShared(dragged.frame) * 2;
  }
  int delta = lastY != 0 ? lastY - y : 0;  // up raises the value
  lastY = y;
  int steps = start + delta;
  if (steps < 0) steps = 0;
  if (steps > kDragSteps) steps = kDragSteps;
  dragged.dragPos = steps;
  double value = double(steps) / double(kDragSteps);
  pval->gainValue[control - kFirstKnobControl] = value;
  effect->setParameterAutomated(kFirstGainParam + control - kFirstKnobControl, float(value));
}

void Gui::leftBtnUp() {
  ReleaseCapture();
  endDrag();
}

void Gui::endDrag() {
  storeShared(activeControl, int32_t(0));
  lastY = 0;
}

void Gui::rghtBtnDown(int16_t x, int16_t y) {
  if (keyDown(VK_CONTROL)) {
    showForgot = false;
    for (int band = 1; band <= kBands; band++) {
      if (checkMouseRgn(knob[band - 1].region, x, y) && loadShared(learnTarget) != band) {
        storeShared(learnTarget, int32_t(band));
        storeShared(learnGesture, loadShared(learnGesture) + 1);  // after the band: the effect reads it first
        displayStatus();
        return;
      }
    }
  }
  if (keyDown(VK_SHIFT)) {
    showForgot = true;
    storeShared(learnTarget, int32_t(0));
    for (int band = 1; band <= kBands; band++) {
      if (checkMouseRgn(knob[band - 1].region, x, y)) {
        effect->setParameter(kForgetCommand, float(band));
        displayStatus();
        return;
      }
    }
  }
}

void Gui::changeCursor() { SetCursor(checkMouseRgn(configRgn, mouseX, mouseY) ? handCursor : arrowCursor); }

void Gui::displayStatus() {
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;  // nowhere to put the popup
  if (veWnd) DestroyWindow(veWnd);
  createVeWnd(cursor.x, cursor.y);
  if (veWnd) SetTimer(veWnd, 0, 800, nullptr);
}

// Centred on the pointer, which lies 31 pixels below the popup's top edge.
void Gui::createVeWnd(int x, int y) {
  veWnd = CreateWindowExA(WS_EX_LAYERED, veClass, "", WS_POPUPWINDOW | WS_VISIBLE, x - 36, y - 31, 72, 42, mainWnd,
                          nullptr, moduleInstance, nullptr);
  if (!veWnd) return;
  SetLayeredWindowAttributes(veWnd, 0, 230, LWA_ALPHA);
  SetWindowLongPtrA(veWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}
