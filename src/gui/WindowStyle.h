#pragma once

#include <QStyle>

namespace vendra {

// The style every window of the program is drawn in, on every desktop, so that the colours are
// drawn as set: Fusion. Only one thing differs from Fusion itself: the icon of the menu bar's
// overflow button, which shows only when the menu bar is too narrow for its entries, is read when
// it is first drawn rather than when the menu bar is made. Reading it finds its format through
// every image format plugin installed, which would otherwise be loaded before the window shows.
QStyle* CreateWindowStyle();

}  // namespace vendra
