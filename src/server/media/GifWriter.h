#pragma once

#include "server/media/Raster.h"

#include <QByteArray>

#include <vector>

namespace morvex::server {

// An endlessly looping animated GIF (GIF89a) of equally sized frames, each shown for
// `delayCentiseconds`. Colours are mapped onto a fixed 6x6x6 colour cube.
QByteArray encodeAnimatedGif(const std::vector<Raster> &frames, int delayCentiseconds);

} // namespace morvex::server
