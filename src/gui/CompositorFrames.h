#pragma once

namespace vendra {

// True when the program runs on a Wayland compositor that offers to draw the frames of its
// windows (the xdg-decoration protocol, as KWin and sway do): Qt then asks it to, and the frame
// is the desktop's own, as under X11. Asked of the compositor once, on Qt's own connection.
bool CompositorDrawsFrames();

}  // namespace vendra
