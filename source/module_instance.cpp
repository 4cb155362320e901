#include "module_instance.h"

HINSTANCE moduleInstance = nullptr;  // set by DllMain, or by a program that links the effect directly
