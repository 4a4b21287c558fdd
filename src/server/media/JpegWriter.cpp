#include "server/media/JpegWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

namespace morvex::server {

namespace {

constexpr std::array<std::uint8_t, 64> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr std::array<int, 64> kLumaQuant = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

constexpr std::array<int, 64> kChromaQuant = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

constexpr std::array<std::uint8_t, 16> kDcLumaBits = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 16> kDcChromaBits = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 12> kDcValues = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

constexpr std::array<std::uint8_t, 16> kAcLumaBits = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
constexpr std::array<std::uint8_t, 162> kAcLumaValues = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22,
    0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33,
    0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34,
    0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55,
    0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76,
    0x77, 0x78, 0x79, 0x7a, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96,
    0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5,
    0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4,
    0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

constexpr std::array<std::uint8_t, 16> kAcChromaBits = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
constexpr std::array<std::uint8_t, 162> kAcChromaValues = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62,
    0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29,
    0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54,
    0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75,
    0x76, 0x77, 0x78, 0x79, 0x7a, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94,
    0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3,
    0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2,
    0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

struct HuffmanCode
{
    std::uint16_t code = 0;
    std::uint8_t length = 0;
};

using HuffmanTable = std::array<HuffmanCode, 256>;

HuffmanTable buildTable(const std::array<std::uint8_t, 16> &bits, const std::uint8_t *values, std::size_t count)
{
    HuffmanTable table{};
    std::uint16_t code = 0;
    std::size_t k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < bits[std::size_t(length - 1)]; ++i) {
            if (k >= count)
                throw std::logic_error("JPEG Huffman table: more codes than values");
            table[values[k]] = {code, std::uint8_t(length)};
            ++code;
            ++k;
        }
        code = std::uint16_t(code << 1);
    }
    return table;
}

class BitWriter
{
public:
    explicit BitWriter(QByteArray &out) : m_out(out) {}

    void write(std::uint32_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = std::uint8_t((m_byte << 1) | ((bits >> i) & 1u));
            if (++m_filled == 8)
                flushByte();
        }
    }
    void write(const HuffmanCode &c)
    {
        if (c.length == 0)
            throw std::logic_error("JPEG Huffman table lacks a needed symbol");
        write(c.code, c.length);
    }
    void finish()
    {
        while (m_filled != 0)
            write(1, 1);
    }

private:
    void flushByte()
    {
        m_out.append(char(m_byte));
        if (m_byte == 0xFF)
            m_out.append('\0');
        m_byte = 0;
        m_filled = 0;
    }

    QByteArray &m_out;
    std::uint8_t m_byte = 0;
    int m_filled = 0;
};

void appendU16(QByteArray &out, int value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void appendMarker(QByteArray &out, std::uint8_t marker)
{
    out.append(char(0xFF));
    out.append(char(marker));
}

std::array<int, 64> scaledQuant(const std::array<int, 64> &base, int quality)
{
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<int, 64> out{};
    for (std::size_t i = 0; i < 64; ++i)
        out[i] = std::clamp((base[i] * scale + 50) / 100, 1, 255);
    return out;
}

struct CosineTable
{
    std::array<double, 64> c{};
    CosineTable()
    {
        for (int x = 0; x < 8; ++x) {
            for (int u = 0; u < 8; ++u) {
                const double cu = u == 0 ? std::sqrt(0.125) : 0.5;
                c[std::size_t(x * 8 + u)] = cu * std::cos((2 * x + 1) * u * std::numbers::pi / 16.0);
            }
        }
    }
};

void forwardDct(const std::array<double, 64> &in, std::array<double, 64> &out)
{
    static const CosineTable table;
    std::array<double, 64> tmp{};
    for (int y = 0; y < 8; ++y) {
        for (int u = 0; u < 8; ++u) {
            double s = 0;
            for (int x = 0; x < 8; ++x)
                s += in[std::size_t(y * 8 + x)] * table.c[std::size_t(x * 8 + u)];
            tmp[std::size_t(y * 8 + u)] = s;
        }
    }
    for (int u = 0; u < 8; ++u) {
        for (int v = 0; v < 8; ++v) {
            double s = 0;
            for (int y = 0; y < 8; ++y)
                s += tmp[std::size_t(y * 8 + u)] * table.c[std::size_t(y * 8 + v)];
            out[std::size_t(v * 8 + u)] = s;
        }
    }
}

int bitLength(int value)
{
    int magnitude = value < 0 ? -value : value;
    int bits = 0;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

void encodeBlock(BitWriter &writer, const std::array<double, 64> &samples, const std::array<int, 64> &quant,
                 const HuffmanTable &dc, const HuffmanTable &ac, int &previousDc)
{
    std::array<double, 64> coefficients{};
    forwardDct(samples, coefficients);
    std::array<int, 64> zigzag{};
    for (std::size_t k = 0; k < 64; ++k) {
        const std::size_t n = kNaturalOrder[k];
        zigzag[k] = std::clamp(int(std::lround(coefficients[n] / quant[n])), -1023, 1023);
    }

    const int diff = zigzag[0] - previousDc;
    previousDc = zigzag[0];
    const int dcBits = bitLength(diff);
    writer.write(dc[std::size_t(dcBits)]);
    if (dcBits)
        writer.write(std::uint32_t(diff < 0 ? diff - 1 : diff) & ((1u << dcBits) - 1u), dcBits);

    int run = 0;
    for (std::size_t k = 1; k < 64; ++k) {
        const int value = zigzag[k];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run >= 16) {
            writer.write(ac[0xF0]);
            run -= 16;
        }
        const int bits = bitLength(value);
        writer.write(ac[std::size_t((run << 4) | bits)]);
        writer.write(std::uint32_t(value < 0 ? value - 1 : value) & ((1u << bits) - 1u), bits);
        run = 0;
    }
    if (run > 0)
        writer.write(ac[0x00]);
}

void appendHuffmanSegment(QByteArray &out, std::uint8_t classAndId, const std::array<std::uint8_t, 16> &bits,
                          const std::uint8_t *values, std::size_t count)
{
    out.append(char(classAndId));
    for (std::uint8_t b : bits)
        out.append(char(b));
    out.append(reinterpret_cast<const char *>(values), qsizetype(count));
}

} // namespace

QByteArray encodeJpeg(const Raster &image, int quality)
{
    const int width = image.width(), height = image.height();
    const auto lumaQuant = scaledQuant(kLumaQuant, quality);
    const auto chromaQuant = scaledQuant(kChromaQuant, quality);
    const HuffmanTable dcLuma = buildTable(kDcLumaBits, kDcValues.data(), kDcValues.size());
    const HuffmanTable dcChroma = buildTable(kDcChromaBits, kDcValues.data(), kDcValues.size());
    const HuffmanTable acLuma = buildTable(kAcLumaBits, kAcLumaValues.data(), kAcLumaValues.size());
    const HuffmanTable acChroma = buildTable(kAcChromaBits, kAcChromaValues.data(), kAcChromaValues.size());

    QByteArray out;
    out.reserve(width * height / 4 + 1024);
    appendMarker(out, 0xD8);

    appendMarker(out, 0xE0);
    appendU16(out, 16);
    out.append("JFIF", 5);
    out.append(char(1));
    out.append(char(1));
    out.append(char(0));
    appendU16(out, 1);
    appendU16(out, 1);
    out.append(char(0));
    out.append(char(0));

    appendMarker(out, 0xDB);
    appendU16(out, 2 + 2 * 65);
    out.append(char(0));
    for (std::size_t k = 0; k < 64; ++k)
        out.append(char(lumaQuant[kNaturalOrder[k]]));
    out.append(char(1));
    for (std::size_t k = 0; k < 64; ++k)
        out.append(char(chromaQuant[kNaturalOrder[k]]));

    appendMarker(out, 0xC0);
    appendU16(out, 17);
    out.append(char(8));
    appendU16(out, height);
    appendU16(out, width);
    out.append(char(3));
    for (int component = 1; component <= 3; ++component) {
        out.append(char(component));
        out.append(char(0x11));
        out.append(char(component == 1 ? 0 : 1));
    }

    appendMarker(out, 0xC4);
    appendU16(out, 2 + 4 * 17 + int(2 * kDcValues.size() + kAcLumaValues.size() + kAcChromaValues.size()));
    appendHuffmanSegment(out, 0x00, kDcLumaBits, kDcValues.data(), kDcValues.size());
    appendHuffmanSegment(out, 0x10, kAcLumaBits, kAcLumaValues.data(), kAcLumaValues.size());
    appendHuffmanSegment(out, 0x01, kDcChromaBits, kDcValues.data(), kDcValues.size());
    appendHuffmanSegment(out, 0x11, kAcChromaBits, kAcChromaValues.data(), kAcChromaValues.size());

    appendMarker(out, 0xDA);
    appendU16(out, 12);
    out.append(char(3));
    out.append(char(1));
    out.append(char(0x00));
    out.append(char(2));
    out.append(char(0x11));
    out.append(char(3));
    out.append(char(0x11));
    out.append(char(0));
    out.append(char(63));
    out.append(char(0));

    BitWriter writer(out);
    int dcY = 0, dcCb = 0, dcCr = 0;
    std::array<double, 64> y{}, cb{}, cr{};
    for (int by = 0; by < height; by += 8) {
        for (int bx = 0; bx < width; bx += 8) {
            for (int j = 0; j < 8; ++j) {
                for (int i = 0; i < 8; ++i) {
                    const Rgb p = image.pixel(std::min(bx + i, width - 1), std::min(by + j, height - 1));
                    const std::size_t at = std::size_t(j * 8 + i);
                    y[at] = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b - 128.0;
                    cb[at] = -0.168736 * p.r - 0.331264 * p.g + 0.5 * p.b;
                    cr[at] = 0.5 * p.r - 0.418688 * p.g - 0.081312 * p.b;
                }
            }
            encodeBlock(writer, y, lumaQuant, dcLuma, acLuma, dcY);
            encodeBlock(writer, cb, chromaQuant, dcChroma, acChroma, dcCb);
            encodeBlock(writer, cr, chromaQuant, dcChroma, acChroma, dcCr);
        }
    }
    writer.finish();
    appendMarker(out, 0xD9);
    return out;
}

} // namespace morvex::server
