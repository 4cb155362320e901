// What a leak would leave behind in this test process, measured the ways Wine allows.
#pragma once

#include <windows.h>

// Committed private memory, region by region (Wine leaves the PrivateUsage counter at 0).
double committedPrivateBytes();
// Windows of this thread and their children, without Wine's own input window.
int windowsOfThisThread();
// The table index of a freshly made GDI object's handle. Wine has no GDI object
// count (GetGuiResources answers 0), but its handle table reuses freed entries:
// without a leak the index stays low, while leaked objects push it up.
unsigned nextGdiIndex();
