#include "server/media/GifWriter.h"
#include "server/media/JpegWriter.h"
#include "server/media/PdfWriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;
using namespace morvex::server;

namespace {

QImage decode(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.read();
}

bool near(QRgb actual, Rgb expected, int tolerance)
{
    return std::abs(qRed(actual) - expected.r) <= tolerance && std::abs(qGreen(actual) - expected.g) <= tolerance &&
           std::abs(qBlue(actual) - expected.b) <= tolerance;
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return u"<failed: "_s + QString::fromUtf8(process.readAllStandardError()) + u">"_s;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(ServerJpegWriter, DecodesToTheDrawnPictureAtOddSizes)
{
    const Rgb red{220, 30, 40}, blue{20, 60, 200}, white{255, 255, 255};
    for (const auto &[w, h] : {std::pair{67, 45}, std::pair{8, 8}, std::pair{1, 1}, std::pair{600, 400}}) {
        Raster raster(w, h, white);
        raster.fillRect(0, 0, std::max(1, w / 2), h, red);
        if (w >= 8)
            raster.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, blue);
        const QByteArray jpeg = encodeJpeg(raster, 90);
        ASSERT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9"));
        const QImage image = decode(jpeg, "jpeg");
        ASSERT_FALSE(image.isNull()) << w << "x" << h;
        EXPECT_EQ(image.size(), QSize(w, h));
        EXPECT_TRUE(near(image.pixel(0, 0), red, 16)) << w << "x" << h;
        if (w >= 8) {
            EXPECT_TRUE(near(image.pixel(w - 2, h - 2), blue, 16)) << w << "x" << h;
            EXPECT_TRUE(near(image.pixel(w - 2, 1), white, 16)) << w << "x" << h;
        }
    }
}

TEST(ServerJpegWriter, HighQualityNoiseStaysDecodable)
{
    std::mt19937 random(7);
    Raster raster(64, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x)
            raster.setPixel(x, y, {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())});
    }
    const QImage image = decode(encodeJpeg(raster, 100), "jpeg");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(64, 48));
}

TEST(ServerGifWriter, AnimatesEveryFrameWithExactCubeColours)
{
    const Rgb colours[] = {{255, 0, 0}, {0, 153, 51}, {0, 0, 255}};
    std::vector<Raster> frames;
    for (const Rgb &c : colours) {
        Raster frame(405, 70, {255, 255, 255});
        frame.fillRect(10, 10, 100, 50, c);
        frame.drawText(150, 20, u"ORVEX ŞİŞLİ", 3, {0, 0, 0});
        frames.push_back(frame);
    }
    const QByteArray gif = encodeAnimatedGif(frames, 50);
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    ASSERT_TRUE(reader.supportsAnimation());
    int count = 0;
    while (reader.canRead()) {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        ASSERT_LT(count, 3);
        EXPECT_EQ(frame.size(), QSize(405, 70));
        EXPECT_TRUE(near(frame.pixel(50, 30), colours[count], 0));
        EXPECT_TRUE(near(frame.pixel(400, 65), {255, 255, 255}, 0));
        EXPECT_EQ(reader.nextImageDelay(), 500);
        ++count;
    }
    EXPECT_EQ(count, 3);
}

TEST(ServerGifWriter, NoisyFrameSurvivesDictionaryResets)
{
    std::mt19937 random(11);
    Raster frame(300, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x)
            frame.setPixel(x, y, {std::uint8_t(51 * (random() % 6)), std::uint8_t(51 * (random() % 6)),
                                  std::uint8_t(51 * (random() % 6))});
    }
    const QImage image = decode(encodeAnimatedGif({frame}, 10), "gif");
    ASSERT_FALSE(image.isNull());
    int mismatches = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x)
            mismatches += near(image.pixel(x, y), frame.pixel(x, y), 0) ? 0 : 1;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ServerPdfWriter, PopplerReadsPagesAndTurkishText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << u"Satır %1: Çağrı Işık, Şişli (İstanbul) 12,50 € \\ yedek"_s.arg(i);
    const QString path = dir.filePath(u"rapor.pdf"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeTextPdf(u"Cari Özeti - ĞÜŞİÖÇ ğüşıöç"_s, lines));
    file.close();

    const QString info = runTool(u"pdfinfo"_s, {path});
    EXPECT_TRUE(info.contains(QRegularExpression(u"Pages:\\s+3\\n"_s))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(u"PDF version:\\s+1\\.4"_s))) << info.toStdString();
    EXPECT_TRUE(info.contains(u"Cari Özeti - ĞÜŞİÖÇ ğüşıöç"_s)) << info.toStdString();
    const QString text = runTool(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    EXPECT_TRUE(text.contains(u"Cari Özeti - ĞÜŞİÖÇ ğüşıöç"_s)) << text.left(300).toStdString();
    EXPECT_TRUE(text.contains(u"Satır 1: Çağrı Işık, Şişli (İstanbul) 12,50 € \\ yedek"_s));
    EXPECT_TRUE(text.contains(u"Satır 150:"_s));
}
