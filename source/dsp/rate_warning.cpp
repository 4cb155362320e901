#include "rate_warning.h"

#include <windows.h>

namespace {
const char kTitle[] = "R4-M Warning";
constexpr UINT kStyle = MB_OK | MB_ICONEXCLAMATION;  // 0x30
}  // namespace

void showUnsupportedRateWarning() {
  MessageBoxA(nullptr, "This plug-in only supports 44.1kHz and 96kHz.\t", kTitle, kStyle);
}

bool acceptDefaultRate() {
  return MessageBoxA(nullptr, "Impossible to get host sample rate. Set it to 44.1kHz?", kTitle, kStyle) == IDOK;
}
