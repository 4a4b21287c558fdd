#include "server/media/GifWriter.h"

#include <stdexcept>
#include <vector>

namespace morvex::server {

namespace {

constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
constexpr int kMaxCodes = 4095;

void appendU16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

int cubeLevel(std::uint8_t c)
{
    return (c * 5 + 127) / 255;
}

std::uint8_t paletteIndex(Rgb c)
{
    return std::uint8_t(cubeLevel(c.r) * 36 + cubeLevel(c.g) * 6 + cubeLevel(c.b));
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class CodeWriter
{
public:
    void write(int code, int width)
    {
        m_accumulator |= std::uint32_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_data.append(char(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_data.append(char(m_accumulator & 0xFF));
        QByteArray blocks;
        for (qsizetype at = 0; at < m_data.size(); at += 255) {
            const qsizetype n = std::min<qsizetype>(255, m_data.size() - at);
            blocks.append(char(n));
            blocks.append(m_data.constData() + at, n);
        }
        blocks.append('\0');
        return blocks;
    }

private:
    QByteArray m_data;
    std::uint32_t m_accumulator = 0;
    int m_bits = 0;
};

QByteArray compress(const std::vector<std::uint8_t> &indices)
{
    std::vector<std::int16_t> next(std::size_t(kMaxCodes + 1) * 256, -1);
    CodeWriter writer;
    int width = 9;
    int nextCode = kEndCode + 1;
    writer.write(kClearCode, width);
    int prefix = indices.empty() ? 0 : indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int c = indices[i];
        const std::size_t key = std::size_t(prefix) * 256 + std::size_t(c);
        if (next[key] >= 0) {
            prefix = next[key];
            continue;
        }
        writer.write(prefix, width);
        if (nextCode < kMaxCodes) {
            next[key] = std::int16_t(nextCode++);
            if (nextCode > (1 << width) && width < 12)
                ++width;
        } else {
            writer.write(kClearCode, width);
            std::fill(next.begin(), next.end(), std::int16_t(-1));
            nextCode = kEndCode + 1;
            width = 9;
        }
        prefix = c;
    }
    writer.write(prefix, width);
    writer.write(kEndCode, width);
    return writer.finish();
}

} // namespace

QByteArray encodeAnimatedGif(const std::vector<Raster> &frames, int delayCentiseconds)
{
    if (frames.empty())
        throw std::invalid_argument("an animated GIF needs at least one frame");
    const int width = frames.front().width(), height = frames.front().height();

    QByteArray out("GIF89a");
    appendU16(out, width);
    appendU16(out, height);
    out.append(char(0xF7));
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const int r = i < 216 ? i / 36 : 0, g = i < 216 ? (i / 6) % 6 : 0, b = i < 216 ? i % 6 : 0;
        out.append(char(r * 51));
        out.append(char(g * 51));
        out.append(char(b * 51));
    }

    out.append(char(0x21));
    out.append(char(0xFF));
    out.append(char(11));
    out.append("NETSCAPE2.0", 11);
    out.append(char(3));
    out.append(char(1));
    appendU16(out, 0);
    out.append('\0');

    for (const Raster &frame : frames) {
        if (frame.width() != width || frame.height() != height)
            throw std::invalid_argument("every GIF frame must have the size of the first");
        out.append(char(0x21));
        out.append(char(0xF9));
        out.append(char(4));
        out.append(char(0x04));
        appendU16(out, delayCentiseconds);
        out.append(char(0));
        out.append('\0');

        out.append(char(0x2C));
        appendU16(out, 0);
        appendU16(out, 0);
        appendU16(out, width);
        appendU16(out, height);
        out.append(char(0));

        std::vector<std::uint8_t> indices;
        indices.reserve(std::size_t(width) * std::size_t(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                indices.push_back(paletteIndex(frame.pixel(x, y)));
        }
        out.append(char(8));
        out.append(compress(indices));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace morvex::server
