#pragma once

#include <QPixmap>

namespace morvex {

// The login window's outline and background, painted at run time: a rounded panel with a
// gradient, the brand at the top and a lighter area for the input boxes. Transparent outside
// the outline, so the window takes its shape.
QPixmap loginPicture();

} // namespace morvex
