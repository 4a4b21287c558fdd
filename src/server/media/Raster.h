#pragma once

#include <QStringView>

#include <cstdint>
#include <vector>

namespace morvex::server {

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// A plain RGB picture to draw demo pictures into before they are encoded as JPEG or GIF.
// Drawing clips at the edges, so callers may place shapes partly outside.
class Raster
{
public:
    Raster(int width, int height, Rgb background = {255, 255, 255});

    int width() const { return m_width; }
    int height() const { return m_height; }
    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb colour);

    void fillRect(int x, int y, int w, int h, Rgb colour);
    void fillCircle(int cx, int cy, int radius, Rgb colour);
    void verticalGradient(Rgb top, Rgb bottom);
    // Text in a built-in 5x7 capital font; Turkish letters are drawn as their base letters,
    // characters the font lacks as blanks. `scale` enlarges every font dot to scale x scale.
    void drawText(int x, int y, QStringView text, int scale, Rgb colour);
    static int textWidth(QStringView text, int scale);
    static int textHeight(int scale) { return 7 * scale; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_rgb;
};

} // namespace morvex::server
