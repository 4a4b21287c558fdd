#pragma once

#include "server/media/Raster.h"

#include <QByteArray>

namespace morvex::server {

// Baseline JPEG (JFIF, YCbCr 4:4:4, the standard Huffman tables) of a raster.
// `quality` 1..100 scales the standard quantisation tables as the usual encoders do.
QByteArray encodeJpeg(const Raster &image, int quality = 85);

} // namespace morvex::server
