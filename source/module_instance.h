// The library's module handle: window classes and bitmap resources live there.
#pragma once

#include <windows.h>

extern HINSTANCE moduleInstance;
