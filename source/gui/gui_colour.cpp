// The interface hue: recolouring the skin, the configuration dialog and the
// colour remembered per Windows user.
#include <initializer_list>

#include "gui.h"
// commctrl.h needs windows.h (through gui.h) before it.
#include <commctrl.h>

#include "../../resources/resource_ids.h"
#include "../module_instance.h"
#include "hue.h"

namespace {
const char kSettingsKey[] = "Software\\Morlin\\Sonic Creatures\\R4-M";
const char kColourValue[] = "UI Color";
constexpr int32_t kDefaultHue = 100;
constexpr int kLowestHue = 1, kHighestHue = 240;  // the slider's range
}  // namespace

void Gui::changeHue() {
  if (!skinInfo.bmBits) return;  // closed: the next open recolours the fresh skin
  shiftHue(static_cast<uint8_t*>(skinInfo.bmBits), skinInfo.bmWidth, skinInfo.bmHeight, skinInfo.bmWidthBytes,
           uint8_t(pval->uiColor & 0xFF));
}

void Gui::setHueVal(int32_t value) {
  pval->uiColor = value;
  changeHue();
  if (mainWnd && isOpen()) InvalidateRgn(mainWnd, frameRgn, FALSE);
}

void Gui::readStoredColour() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD stored = 0, size = sizeof stored;
    if (RegQueryValueExA(key, kColourValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size) ==
            ERROR_SUCCESS &&
        size == sizeof stored)
      pval->uiColor = int32_t(stored);
    RegCloseKey(key);
    return;
  }
  // First start for this user: the key is made with the default colour.
  HKEY software, settings;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_ALL_ACCESS, &software) != ERROR_SUCCESS) return;
  if (RegCreateKeyA(software, "Morlin\\Sonic Creatures\\R4-M", &settings) == ERROR_SUCCESS) {
    DWORD colour = DWORD(pval->uiColor);
    RegSetValueExA(settings, kColourValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&colour), sizeof colour);
    RegCloseKey(settings);
  }
  RegCloseKey(software);
}

void Gui::storeDlgConf() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    Beep(5000, 50);
    Beep(8000, 50);
    return;
  }
  DWORD colour = DWORD(pval->uiColor);
  if (RegSetValueExA(key, kColourValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&colour), sizeof colour) !=
      ERROR_SUCCESS)
    Beep(8000, 50);
  RegCloseKey(key);
}

void Gui::createDialog() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};  // the trackbar class
  InitCommonControlsEx(&controls);
  dlgWnd = CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_CONFIGURATION), nullptr, dlgProc, 0);
  if (!dlgWnd) return;
  SetWindowLongPtrA(dlgWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // The dialog's own copy: it may outlive the editor's bitmaps, which close frees.
  dialogPicture = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(IDB_DIALOG_PICTURE));
  SendDlgItemMessageA(dlgWnd, IDC_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(dialogPicture));
  SendDlgItemMessageA(dlgWnd, IDC_HUE_SLIDER, TBM_SETRANGE, FALSE, MAKELPARAM(kLowestHue, kHighestHue));
  SendDlgItemMessageA(dlgWnd, IDC_HUE_SLIDER, TBM_SETPOS, TRUE, pval->uiColor);
}

INT_PTR CALLBACK Gui::dlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Gui* gui = reinterpret_cast<Gui*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!gui) return FALSE;  // still being created
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_CLOSE) return FALSE;
      [[fallthrough]];
    case WM_CLOSE:
      DestroyWindow(dialog);
      gui->dlgWnd = nullptr;
      gui->storeDlgConf();
      return TRUE;
    case WM_VSCROLL:
      gui->setHueVal(int32_t(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
      return FALSE;
    case WM_NCDESTROY:  // the picture's control has gone before its dialog
      gui->forgetWindow(dialog);
      if (gui->dialogPicture) DeleteObject(gui->dialogPicture);
      gui->dialogPicture = nullptr;
      return FALSE;
  }
  return FALSE;
}
