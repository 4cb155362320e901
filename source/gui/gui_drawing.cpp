// Loading the bitmaps and drawing the panel, the knobs and the Q buttons. Each
// knob is composed off-screen and reaches the window in one transfer.
#include <initializer_list>

#include "../../resources/resource_ids.h"
#include "../module_instance.h"
#include "../shared_word.h"
#include "gui.h"

namespace {

HBITMAP loadBitmap(int id) { return LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(id)); }

// A memory device context with `bitmap` selected; empty when it cannot be selected.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC compatible, HBITMAP bitmap) : dc(CreateCompatibleDC(compatible)) {
    previous = dc && bitmap ? SelectObject(dc, bitmap) : nullptr;
  }
  ~SelectedBitmap() {
    if (previous) SelectObject(dc, previous);
    if (dc) DeleteDC(dc);
  }
  bool ready() const { return previous != nullptr; }
  HDC dc;

 private:
  HGDIOBJ previous;
};

}  // namespace

void Gui::loadBitmaps() {
  skinBitmap = static_cast<HBITMAP>(
      LoadImageA(moduleInstance, MAKEINTRESOURCEA(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  skinInfo = BITMAP{};
  if (skinBitmap) GetObjectA(skinBitmap, sizeof skinInfo, &skinInfo);
  knobStrip = loadBitmap(IDB_KNOB_STRIP);
  knobMask = loadBitmap(IDB_KNOB_MASK);
  statusLearning = loadBitmap(IDB_STATUS_LEARNING);
  statusForgot = loadBitmap(IDB_STATUS_FORGOT);
  qButton1 = loadBitmap(IDB_Q_BUTTON1);
  qButton2 = loadBitmap(IDB_Q_BUTTON2);
  qButton3 = loadBitmap(IDB_Q_BUTTON3);
  qButtonRow = loadBitmap(IDB_Q_BUTTON_ROW);
}

void Gui::releaseBitmaps() {
  if (skinDCDefault) SelectObject(skinDC, skinDCDefault);
  DeleteDC(skinDC);
  ReleaseDC(mainWnd, windowDC);
  skinDC = nullptr;
  windowDC = nullptr;
  skinDCDefault = nullptr;
  for (HBITMAP* bitmap : {&skinBitmap, &knobStrip, &knobMask, &statusLearning, &statusForgot, &qButton1,
                           &qButton2, &qButton3, &qButtonRow}) {
    if (*bitmap) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
  skinInfo = BITMAP{};
}

void Gui::drawMultipleKnob(const Region& region, int32_t frame, HDC target, HDC work, HDC mask, HDC strip) {
  BitBlt(work, 0, 0, kKnobSize, kKnobSize, skinDC, region.left, region.top, SRCCOPY);
  BitBlt(work, 0, 0, kKnobSize, kKnobSize, mask, 0, 0, SRCAND);  // the disc turns black
  BitBlt(work, 0, 0, kKnobSize, kKnobSize, strip, 0, kKnobSize * frame, SRCPAINT);
  BitBlt(target, region.left, region.top, kKnobSize, kKnobSize, work, 0, 0, SRCCOPY);
}

void Gui::paintKnob(const Region& region, int32_t frame) {
  HDC work = CreateCompatibleDC(windowDC);
  HBITMAP workBitmap = CreateCompatibleBitmap(windowDC, kKnobSize, kKnobSize);
  HGDIOBJ workDefault = SelectObject(work, workBitmap);
  {
    SelectedBitmap mask(windowDC, knobMask), strip(windowDC, knobStrip);
    if (mask.ready() && strip.ready()) drawMultipleKnob(region, frame, windowDC, work, mask.dc, strip.dc);
  }
  SelectObject(work, workDefault);
  DeleteObject(workBitmap);
  DeleteDC(work);
}

void Gui::drawPush(const Region& region, HDC target, HBITMAP bitmap, int width, int sourceRow) {
  SelectedBitmap source(target, bitmap);
  if (source.ready()) BitBlt(target, region.left, region.top, width, kQButtonHeight, source.dc, 0, sourceRow, SRCCOPY);
}

void Gui::paint(HDC target) {
  BitBlt(target, 0, 0, kEditorWidth, kEditorHeight, skinDC, 0, 0, SRCCOPY);
  constexpr int kWorkSize = 40;  // only its top left 24 by 24 pixels are used
  HDC work = CreateCompatibleDC(target);
  HBITMAP workBitmap = CreateCompatibleBitmap(target, kWorkSize, kWorkSize);
  HGDIOBJ workDefault = SelectObject(work, workBitmap);
  {
    SelectedBitmap mask(target, knobMask), strip(target, knobStrip);
    if (mask.ready() && strip.ready())
      for (int band = 0; band < kBands; band++)
        drawMultipleKnob(knob[band].region, loadShared(knob[band].frame), target, work, mask.dc, strip.dc);
  }
  SelectObject(work, workDefault);
  DeleteObject(workBitmap);
  DeleteDC(work);
  HBITMAP buttons[kQButtons] = {qButton1, qButton2, qButton3};
  for (int band = 0; band < kBands; band++) {
    int32_t selector = loadShared(pval->qSel[band]);
    if (selector >= 0 && selector < kQButtons)
      drawPush(qRgn[band][selector], windowDC, buttons[selector], kQButtonWidth, kQButtonHeight);
  }
}

void Gui::paintVeWnd() {
  PAINTSTRUCT paintInfo;
  HDC target = BeginPaint(veWnd, &paintInfo);
  SelectedBitmap picture(target, showForgot ? statusForgot : statusLearning);
  if (picture.ready()) BitBlt(target, 0, 0, 70, 40, picture.dc, 0, 0, SRCCOPY);
  EndPaint(veWnd, &paintInfo);
}
