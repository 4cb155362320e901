#include "leak_probes.h"

#include <cstdint>
#include <cstring>

double committedPrivateBytes() {
  double total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (char* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
       address = static_cast<char*>(region.BaseAddress) + region.RegionSize)
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += double(region.RegionSize);
  return total;
}

namespace {
BOOL CALLBACK countWindow(HWND window, LPARAM total) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "IME") != 0) ++*reinterpret_cast<int*>(total);  // made with the thread's first window
  EnumChildWindows(window, countWindow, total);
  return TRUE;
}
}  // namespace

int windowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

unsigned nextGdiIndex() {
  HBITMAP probe = CreateBitmap(1, 1, 1, 1, nullptr);
  unsigned index = unsigned(reinterpret_cast<uintptr_t>(probe) & 0xFFFF);
  DeleteObject(probe);
  return index;
}
