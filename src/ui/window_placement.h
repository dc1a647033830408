#pragma once

class QWidget;

namespace morvane {

/// Moves the top-level `window` so that its frame is centred on the frame of `anchor`'s window,
/// kept inside the available area of the anchor's screen (the top-left corner wins when the
/// window is larger than that area). A window that was never shown is laid out first so that
/// its final size is known; its frame is estimated from the anchor's. Without an anchor the
/// window is centred on its own screen.
void centreOn(QWidget* window, const QWidget* anchor);

}  // namespace morvane
