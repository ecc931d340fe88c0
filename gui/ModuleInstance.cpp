// Storage of the module instance handle.
#include "gui/ModuleInstance.h"

void* moduleInstance = nullptr;
