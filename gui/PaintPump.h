// The idle pump's needs from the port (one pending paint, a millisecond clock and a short
// sleep) are part of the port contract.
#pragma once

#include "gui/Port.h"
