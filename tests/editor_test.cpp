// The editor for real: a host window under Wine, pixels read back from the
// screen, mouse messages with the real cursor, the dialog and the registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "editor_host.h"
#include "leak_probes.h"
#include "gui/layout.h"
// commctrl.h needs windows.h (through editor_host.h) before it.
#include <commctrl.h>

namespace {

const char kKey[] = "Software\\Morlin\\Sonic Creatures\\R4-M";

void storeColour(DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
  RegSetValueExA(key, "UI Color", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

bool readColour(DWORD& value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = sizeof value, type = 0;
  LONG result = RegQueryValueExA(key, "UI Color", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD;
}

// Equal pixel for pixel; otherwise says how many differ and where the first is.
::testing::AssertionResult samePicture(const Picture& shown, const Picture& expected) {
  if (shown.width != expected.width || shown.height != expected.height)
    return ::testing::AssertionFailure() << "sizes differ: " << shown.width << "x" << shown.height << " against "
                                         << expected.width << "x" << expected.height;
  int count = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < shown.height; y++)
    for (int x = 0; x < shown.width; x++)
      if (shown.at(x, y) != expected.at(x, y) && count++ == 0) firstX = x, firstY = y;
  if (count == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << count << " pixels differ, the first at (" << firstX << ", " << firstY
                                       << "): shown " << std::hex << shown.at(firstX, firstY) << ", expected "
                                       << expected.at(firstX, firstY);
}

void framesAndSelectors(AEffect* effect, int frames[7], int qSels[7]) {
  for (int band = 0; band < 7; band++) {
    frames[band] = int(double(effect->getParameter(effect, band)) * 79.0);
    qSels[band] = int(double(effect->getParameter(effect, 7 + band)) * 10.0);
  }
}

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(library.main, nullptr);
    storeColour(100);
    editor = std::make_unique<EditorHost>(library);
    ASSERT_NE(editor->effect, nullptr);
    ASSERT_TRUE(editor->open());
  }
  void TearDown() override { editor.reset(); }
  Picture expectedNow(std::vector<int> hues = {100}) {
    int frames[7], qSels[7];
    framesAndSelectors(editor->effect, frames, qSels);
    return expectedPanel(library.module, hues, frames, qSels);
  }
  std::vector<float> automatedValues(VstInt32 index) {
    std::vector<float> values;
    for (const HostCall& call : host.callsOf(audioMasterAutomate))
      if (call.index == index) values.push_back(call.opt);
    return values;
  }
  void sendControlChange(int controller, int value) {
    VstMidiEvent change{};
    change.type = kVstMidiType;
    change.byteSize = sizeof change;
    change.midiData[0] = char(0xB0);
    change.midiData[1] = char(controller);
    change.midiData[2] = char(value);
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&change);
    dispatch(editor->effect, effProcessEvents, 0, 0, &events);
  }
  PluginLibrary library;
  RecordingHost host;
  std::unique_ptr<EditorHost> editor;
};

TEST_F(Editor, FirstPictureIsTheComposedPanel) {
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
}

TEST_F(Editor, FollowsProgramChangesAndMidi) {
  dispatch(editor->effect, effSetProgram, 0, 2);
  pump(30);
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
  editor->effect->setParameter(editor->effect, 14 + 3, 0.074f);  // band 4 on controller 74
  sendControlChange(74, 127);
  pump(30);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 3), 1.0f);
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
}

TEST_F(Editor, KnobDragSendsAutomation) {
  Region knob = knobRegion(3);
  int x = knob.left + 12, y = knob.top + 12;
  editor->leftDown(x, y);
  editor->dragTo(x + 30, y);  // the first move never moves the knob: it sends the shown frame × 2
  std::vector<float> sent = automatedValues(2);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], float(78.0 / 158.0));
  for (int step = 1; step <= 17; step++) editor->dragTo(x, y - 10 * step);  // 170 pixels up
  sent = automatedValues(2);
  EXPECT_EQ(sent.back(), 1.0f) << "limited at the top";
  editor->dragTo(x, y - 169);  // one pixel back down
  EXPECT_EQ(automatedValues(2).back(), float(157.0 / 158.0));
  SendMessageA(editor->editorWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  pump(30);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 2), float(157.0 / 158.0));
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow())) << "the knob shows its new frame";

  // An outside change: the next drag starts from the frame that change produced.
  editor->effect->setParameter(editor->effect, 2, 0.25f);  // frame 19
  host.clearCalls();
  editor->leftDown(x, y);
  editor->dragTo(x, y + 40);
  ASSERT_EQ(automatedValues(2).size(), 1u);
  EXPECT_EQ(automatedValues(2)[0], float(38.0 / 158.0));
  editor->dragTo(x, y + 45);
  EXPECT_EQ(automatedValues(2).back(), float(33.0 / 158.0));
  SendMessageA(editor->editorWindow, WM_LBUTTONUP, 0, 0);
  editor->leftDown(x, y);  // the same knob again: it goes on from where the drag left it
  editor->dragTo(x, y);
  EXPECT_EQ(automatedValues(2).back(), float(33.0 / 158.0));
  SendMessageA(editor->editorWindow, WM_LBUTTONUP, 0, 0);
}

// A drag whose button-up never reaches the editor ends all the same: a later
// move, with or without a new press elsewhere, drags nothing, and no stale
// position makes a jump.
TEST_F(Editor, ADragWithoutItsButtonUpEnds) {
  const Region knob = knobRegion(1), button = qButtonRegion(3, 2);
  const int x = knob.left + 12, y = knob.top + 12;
  const struct {
    const char* what;
    bool moved;         // the drag began: a move with the button down took the capture
    bool pressesAgain;  // the next move follows a press on band 3's Q button
    std::function<void()> interruption;
  } kCases[] = {
      {"another window takes the capture", true, false, [&] { SetCapture(editor->hostWindow); ReleaseCapture(); }},
      {"the button goes up outside before the first move", false, true, [] {}},
      {"the editor closes and opens again", true, false, [&] { editor->close(); ASSERT_TRUE(editor->open()); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    editor->leftDown(x, y);
    if (c.moved) editor->dragTo(x, y - 20);
    c.interruption();
    host.clearCalls();
    if (c.pressesAgain) editor->leftDown(button.left + 5, button.top + 5);
    editor->dragTo(button.left + 5, button.top - 25);  // 30 pixels up with the button down
    EXPECT_TRUE(automatedValues(0).empty()) << "band 1 still dragged: " << automatedValues(0).size() << " values";
    SendMessageA(editor->editorWindow, WM_LBUTTONUP, 0, 0);
  }
}

TEST_F(Editor, QButtonClickIsNotAutomation) {
  Region button = qButtonRegion(1, 3);
  editor->leftDown(button.left + 5, button.bottom);  // the hit area is one row taller than the image
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 7), 0.2f);
  EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());
  pump(30);
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
  Region wide = qButtonRegion(6, 1);
  editor->leftDown(wide.left, wide.top);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 12), 0.0f);
  pump(30);
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
}

BOOL CALLBACK findLayered(HWND window, LPARAM found) {
  if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

TEST_F(Editor, ReopenShowsChangesMadeWhileClosed) {
  HWND oldChild = editor->editorWindow;
  editor->close();
  dispatch(editor->effect, effSetProgram, 0, 3);  // while closed: nothing may be drawn
  InvalidateRect(oldChild, nullptr, FALSE);
  SendMessageA(oldChild, WM_TIMER, 0, 0);
  pump(30);
  ASSERT_TRUE(editor->open());
  EXPECT_FALSE(IsWindow(oldChild)) << "the child left from the last open is replaced";
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow()));
}

TEST_F(Editor, HandCursorOverTheLogo) {
  SendMessageA(editor->editorWindow, WM_MOUSEMOVE, 0, MAKELPARAM(20, 8));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  SendMessageA(editor->editorWindow, WM_MOUSEMOVE, 0, MAKELPARAM(300, 100));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

HWND findPopup() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findLayered, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(Editor, LearnAndForgetWithTheStatusPopup) {
  Region knob = knobRegion(2);
  POINT point = editor->screen(knob.left + 12, knob.top + 12);
  moveCursor(point);
  holdKeys(true, false);
  editor->rightDown(knob.left + 12, knob.top + 12);
  pump(30);
  HWND popup = findPopup();
  ASSERT_NE(popup, nullptr) << "the learning popup";
  RECT frame;
  GetWindowRect(popup, &frame);
  EXPECT_EQ(frame.right - frame.left, 72);
  EXPECT_EQ(frame.bottom - frame.top, 42);
  EXPECT_EQ(frame.left, point.x - 36);
  EXPECT_EQ(frame.top, point.y - 31);
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 230);
  EXPECT_TRUE(samePicture(capture(popup, 70, 40), resourcePicture(library.module, 4099)));

  sendControlChange(74, 127);  // the next control change binds band 2
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 1), 1.0f);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 15), float(74 * 0.001));

  pump(900);
  EXPECT_FALSE(IsWindow(popup)) << "gone after about 800 ms";

  holdKeys(false, true);
  editor->rightDown(knob.left, knob.top);
  holdKeys(false, false);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 15), -1.0f) << "forgotten: bound to no controller";
  pump(30);
  popup = findPopup();
  ASSERT_NE(popup, nullptr) << "the forgot popup";
  EXPECT_TRUE(samePicture(capture(popup, 70, 40), resourcePicture(library.module, 4100)));
  sendControlChange(74, 0);
  EXPECT_EQ(editor->effect->getParameter(editor->effect, 1), 1.0f) << "no longer bound";
}

// Every gesture that shows "LEARNING..." arms one learn, even for the band
// that learned last; a click on the knob that is already waiting arms nothing.
TEST_F(Editor, EachLearningGestureBindsTheNextControlChange) {
  auto knobCentre = [](int band) { return POINT{knobRegion(band).left + 12, knobRegion(band).top + 12}; };
  auto armWithCtrl = [&](int band) {
    holdKeys(true, false);
    editor->rightDown(knobCentre(band).x, knobCentre(band).y);
    holdKeys(false, false);
  };
  auto boundValue = [&](int band) { return editor->effect->getParameter(editor->effect, 13 + band); };
  moveCursor(editor->screen(knobCentre(2).x, knobCentre(2).y));
  armWithCtrl(2);
  sendControlChange(74, 127);
  EXPECT_EQ(boundValue(2), float(74 * 0.001));

  armWithCtrl(3);
  armWithCtrl(2);  // band 2 again, before any MIDI
  sendControlChange(75, 127);
  EXPECT_EQ(boundValue(2), float(75 * 0.001)) << "the band armed last learns";
  EXPECT_EQ(boundValue(3), -1.0f);
  sendControlChange(76, 127);
  EXPECT_EQ(boundValue(2), float(75 * 0.001)) << "one binding per arming";

  armWithCtrl(2);  // already waiting: passed over
  sendControlChange(77, 127);
  EXPECT_EQ(boundValue(2), float(75 * 0.001));
}

TEST_F(Editor, ColourDialog) {
  editor->leftDown(20, 8);  // the logo
  HWND dialog = FindWindowA(nullptr, "R4-M Configuration");
  ASSERT_NE(dialog, nullptr);
  HWND slider = GetDlgItem(dialog, 10005);
  ASSERT_NE(slider, nullptr);
  LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(GetParent(dialog), nullptr) << "no owner";
  EXPECT_TRUE(GetWindowLongA(slider, GWL_STYLE) & TBS_VERT);
  HWND picture = GetDlgItem(dialog, 10019);
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "the dialog picture is shown";
  char caption[64] = {};
  GetDlgItemTextA(dialog, 10004, caption, sizeof caption);
  EXPECT_STREQ(caption, "Close");
  EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 100);
  EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 1);
  EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 240);
  SendMessageA(slider, TBM_SETPOS, TRUE, 180);
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 180), reinterpret_cast<LPARAM>(slider));
  pump(30);
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow({100, 180}))) << "each step recolours the recoloured skin";
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(10004, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(dialog));
  DWORD stored = 0;
  ASSERT_TRUE(readColour(stored));
  EXPECT_EQ(stored, 180u);

  // A second logo click closes the dialog without storing.
  editor->leftDown(20, 8);
  dialog = FindWindowA(nullptr, "R4-M Configuration");
  ASSERT_NE(dialog, nullptr);
  slider = GetDlgItem(dialog, 10005);
  SendMessageA(slider, TBM_SETPOS, TRUE, 50);
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
  editor->leftDown(20, 8);
  EXPECT_FALSE(IsWindow(dialog));
  ASSERT_TRUE(readColour(stored));
  EXPECT_EQ(stored, 180u);
  // The colour stays for this instance across close and open.
  editor->close();
  ASSERT_TRUE(editor->open());
  EXPECT_TRUE(samePicture(editor->shot(), expectedNow({50})));
}

// The dialog may stay open after the editor closes: its picture is its own.
TEST_F(Editor, TheDialogPictureLivesAsLongAsTheDialog) {
  editor->leftDown(20, 8);  // the logo
  HWND dialog = FindWindowA(nullptr, "R4-M Configuration");
  ASSERT_NE(dialog, nullptr);
  auto picture = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, 10019, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(picture, nullptr);
  editor->close();
  BITMAP info{};
  EXPECT_EQ(GetObjectA(picture, sizeof info, &info), int(sizeof info)) << "deleted while the dialog shows it";
  EXPECT_GT(info.bmWidth, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(10004, BN_CLICKED), 0);
  ASSERT_FALSE(IsWindow(dialog));
  EXPECT_EQ(GetObjectA(picture, sizeof info, &info), 0) << "left behind by the dialog";
}

TEST(EditorColour, StoredColourAtFirstOpen) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  {
    EditorHost editor(library);
    ASSERT_TRUE(editor.open());
    DWORD stored = 0;
    ASSERT_TRUE(readColour(stored)) << "a first start creates the key";
    EXPECT_EQ(stored, 100u);
    int frames[7] = {39, 39, 39, 39, 39, 39, 39}, qSels[7] = {1, 1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(samePicture(editor.shot(), expectedPanel(library.module, {100}, frames, qSels)));
  }
  {
    HKEY key;  // the key without its value: the default colour, and nothing written
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "UI Color");
    RegCloseKey(key);
    EditorHost editor(library);
    ASSERT_TRUE(editor.open());
    int frames[7] = {39, 39, 39, 39, 39, 39, 39}, qSels[7] = {1, 1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(samePicture(editor.shot(), expectedPanel(library.module, {100}, frames, qSels)));
    DWORD stored = 0;
    EXPECT_FALSE(readColour(stored));
  }
  storeColour(356);  // only the low byte is a hue
  {
    EditorHost editor(library);
    ASSERT_TRUE(editor.open());
    int frames[7] = {39, 39, 39, 39, 39, 39, 39}, qSels[7] = {1, 1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(samePicture(editor.shot(), expectedPanel(library.module, {100}, frames, qSels)));
  }
  storeColour(100);
}

TEST(EditorLifecycle, OpenAndCloseManyTimesLeaksNothing) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  int windowsBefore = windowsOfThisThread();
  unsigned gdiBefore = nextGdiIndex();
  char classNames[2][32] = {};
  {
    EditorHost first(library), second(library);  // two instances open at once
    for (int cycle = 0; cycle < 200; cycle++) {
      for (EditorHost* editor : {&first, &second})
        ASSERT_EQ(dispatch(editor->effect, effEditOpen, 0, 0, editor->hostWindow), 1);
      pump(2);  // paints and timer ticks
      for (EditorHost* editor : {&first, &second}) dispatch(editor->effect, effEditClose);
    }
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    dispatch(first.effect, effEditOpen, 0, 0, first.hostWindow);  // opened twice: still one editor window
    pump(20);
    EXPECT_EQ(windowsOfThisThread(), windowsBefore + 2 + 2) << "two host windows, one editor in each";
    for (EditorHost* editor : {&first, &second}) {
      HWND child = FindWindowExA(editor->hostWindow, nullptr, nullptr, nullptr);
      GetClassNameA(child, classNames[editor == &second], sizeof classNames[0]);
    }
    EXPECT_STRNE(classNames[0], classNames[1]) << "each instance has classes of its own";
  }  // closed with the editors open
  pump(20);
  EXPECT_EQ(windowsOfThisThread(), windowsBefore);
  for (const char* name : classNames) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExA(library.module, name, &info)) << name << " is still registered";
  }
  unsigned gdiAfter = nextGdiIndex();
  std::printf("windows %d before and after; next GDI handle index %u before, %u after\n", windowsBefore, gdiBefore,
              gdiAfter);
  // Without a leak the index stays below a few hundred here; one object leaked
  // per open (400 opens) would push it past 400.
  EXPECT_LT(gdiAfter, 400u);
}

}  // namespace
