// The editor's life: construction, open and close, the change marks and the
// timer tick that redraws what was marked.
#include <initializer_list>
#include <new>

#include "gui.h"

#include "../../base/audio_effect.h"
#include "../module_instance.h"
#include "../shared_word.h"

Gui::Gui(AudioEffect* effect) : AEffEditor(effect), pval(new (std::nothrow) PVAL{}) {
  registerClasses();
  firstOpen = true;
  if (pval) initPVAL(*pval);  // without it the effect gives up (its ready() is false)
  configRgn = kConfigRegion;
  for (int band = 1; band <= kBands; band++) {
    for (int button = 1; button <= kQButtons; button++) qRgn[band - 1][button - 1] = qButtonRegion(band, button);
    knob[band - 1].region = knobRegion(band);
  }
  handCursor = LoadCursor(nullptr, IDC_HAND);
  arrowCursor = LoadCursor(nullptr, IDC_ARROW);
  frameRgn = CreateRectRgn(0, 0, kEditorWidth, kEditorHeight);
  HRGN inner = CreateRectRgn(kInnerLeft, kInnerTop, kInnerRight, kInnerBottom);
  CombineRgn(frameRgn, frameRgn, inner, RGN_DIFF);
  DeleteObject(inner);
}

// The effect has already freed pval: nothing here may touch it.
Gui::~Gui() {
  if (skinDC) releaseBitmaps();  // the host closed the instance with the editor open
  if (mainWnd) KillTimer(mainWnd, timerId);  // before the window goes: WM_NCDESTROY forgets its handle
  for (HWND* window : {&mainWnd, &veWnd, &dlgWnd})
    if (*window && IsWindow(*window)) DestroyWindow(*window);
  UnregisterClassA(mainClass, moduleInstance);
  UnregisterClassA(veClass, moduleInstance);
  DeleteObject(frameRgn);
}

VstInt32 Gui::getRect(ERect** out) {
  *out = &rect;
  return 0;
}

VstInt32 Gui::open(void* parentWindow) {
  if (isOpen()) close();  // a host that opens twice gets one window, not two
  systemWindow = parentWindow;
  if (!parentWindow) return 0;  // the editor is a child window: without a parent there is none
  createWindow();
  if (!mainWnd) return 0;  // nothing made: no DC, no bitmaps, still closed
  storeShared(pval->editorOpen, int32_t(1));
  loadBitmaps();
  if (firstOpen) {
    for (int band = 0; band < kBands; band++) {
      knob[band].frame = knobFrameFor(effect->getParameter(kFirstGainParam + band));
      knob[band].resync = true;
    }
    for (int band = 0; band < kBands; band++)
      storeShared(pval->qSel[band], qSelFor(effect->getParameter(kFirstQParam + band)));
    pval->uiColor = 100;
    readStoredColour();
    firstOpen = false;
  } else {
    // Gains may have changed while the editor was closed (programs, automation):
    // the knobs show the current values, from the widened gains the effect keeps.
    for (int band = 0; band < kBands; band++) {
      knob[band].frame = knobFrameFor(float(pval->gainValue[band]));
      knob[band].resync = true;
    }
  }
  changeHue();
  windowDC = GetDC(mainWnd);
  skinDC = CreateCompatibleDC(windowDC);
  skinDCDefault = SelectObject(skinDC, skinBitmap);
  return 1;
}

void Gui::close() {
  storeShared(pval->editorOpen, int32_t(0));
  endDrag();
  if (skinDC) releaseBitmaps();
}

void Gui::updateControl(float value, int32_t index) {
  if (index >= kFirstGainParam && index < kFirstGainParam + kBands) {
    int band = index - kFirstGainParam;
    storeShared(knob[band].frame, knobFrameFor(value));
    storeShared(knobChanged[band], true);
    if (loadShared(activeControl) != kFirstKnobControl + band) storeShared(knob[band].resync, true);
  } else if (index >= kFirstQParam && index < kFirstQParam + kBands) {
    storeShared(qChanged[index - kFirstQParam], true);
  }
  storeShared(anyChanged, true);
}

void Gui::onTimer() {
  if (!loadShared(anyChanged) || !isOpen()) return;
  // Cleared before the scan: a mark made meanwhile raises it again for the next tick.
  storeShared(anyChanged, false);
  for (int band = 0; band < kBands; band++) {
    if (!loadShared(knobChanged[band])) continue;
    storeShared(knobChanged[band], false);
    paintKnob(knob[band].region, loadShared(knob[band].frame));
  }
  for (int band = 0; band < kBands; band++) {
    if (!loadShared(qChanged[band])) continue;
    storeShared(qChanged[band], false);
    int32_t selector = loadShared(pval->qSel[band]);
    if (selector >= 0 && selector < kQButtons)
      drawPush(qRgn[band][0], windowDC, qButtonRow, kQButtons * kQButtonWidth, kQButtonHeight * selector);
  }
}
