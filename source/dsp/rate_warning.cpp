#include "rate_warning.h"

#include <windows.h>

namespace {

const char kTitle[] = "R4-M Warning";
constexpr UINT kStyle = MB_OK | MB_ICONEXCLAMATION;  // 0x30

// Holds the library by the reference it was given until the box is closed.
DWORD WINAPI warnOnItsOwnThread(void* library) {
  showUnsupportedRateWarning();
  FreeLibraryAndExitThread(static_cast<HMODULE>(library), 0);
}

}  // namespace

RateWarning::~RateWarning() {
  if (boxThread) CloseHandle(boxThread);  // the box stays up; its thread ends by itself
}

void RateWarning::show() {
  if (boxThread) {
    if (WaitForSingleObject(boxThread, 0) == WAIT_TIMEOUT) return;  // the user has not closed the last one
    CloseHandle(boxThread);
    boxThread = nullptr;
  }
  HMODULE library = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&warnOnItsOwnThread),
                         &library)) {
    boxThread = CreateThread(nullptr, 0, warnOnItsOwnThread, library, 0, nullptr);
    if (boxThread) return;
    FreeLibrary(library);
  }
  showUnsupportedRateWarning();  // no thread to spare: the user is still warned, as before
}

void showUnsupportedRateWarning() {
  MessageBoxA(nullptr, "This plug-in only supports 44.1kHz and 96kHz.\t", kTitle, kStyle);
}

bool acceptDefaultRate() {
  return MessageBoxA(nullptr, "Impossible to get host sample rate. Set it to 44.1kHz?", kTitle, kStyle) == IDOK;
}
