// Lets an idle pump running inside a mouse-tracking loop repaint one pending window area.
#pragma once

// GUI thread. Dispatches one pending paint of any Frame window of this thread; true if there
// was one.
bool dispatchPendingPaint();
