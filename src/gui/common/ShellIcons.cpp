#include "gui/common/ShellIcons.h"

#include "gui/grid/GridIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>

using namespace Qt::StringLiterals;

namespace morvex::ShellIcons {

namespace {

    // Draws on a 64 by 64 canvas; QIcon scales it to the size asked for.
    QIcon drawn(const std::function<void(QPainter &)> &draw)
    {
        QPixmap pixmap(64, 64);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        return QIcon(pixmap);
    }

    QPen pen(const QColor &color, qreal width)
    {
        return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }

    QBrush shade(const QColor &light, const QColor &dark, qreal top = 0, qreal bottom = 64)
    {
        QLinearGradient g(0, top, 0, bottom);
        g.setColorAt(0, light);
        g.setColorAt(1, dark);
        return g;
    }

    void sheet(QPainter &p, const QColor &line)
    {
        p.setPen(pen(QColor(70, 90, 120), 2.5));
        p.setBrush(shade(Qt::white, QColor(220, 230, 242)));
        p.drawRoundedRect(QRectF(12, 6, 40, 52), 4, 4);
        p.setPen(pen(line, 3));
        for (int y = 18; y <= 46; y += 9)
            p.drawLine(QPointF(19, y), QPointF(45, y));
    }

    void star(QPainter &p, QPointF centre, qreal outer, qreal inner, int points)
    {
        QPainterPath path;
        for (int i = 0; i < points * 2; ++i) {
            const qreal r = i % 2 ? inner : outer;
            const qreal a = -M_PI / 2 + i * M_PI / points;
            const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
            i ? path.lineTo(pt) : path.moveTo(pt);
        }
        path.closeSubpath();
        p.drawPath(path);
    }

    void lettered(QPainter &p, const QRectF &box, const QString &text, int pixelSize, const QColor &color)
    {
        QFont f(u"DejaVu Sans"_s);
        f.setBold(true);
        f.setPixelSize(pixelSize);
        p.setFont(f);
        p.setPen(color);
        p.drawText(box, Qt::AlignCenter, text);
    }

} // namespace

QIcon tabIcon(MainTab tab)
{
    switch (tab) {
    case MainTab::StokListesi:
        return drawn([](QPainter &p) {
            sheet(p, QColor(60, 110, 180));
            p.setPen(pen(QColor(30, 60, 110), 5));
            p.setBrush(QColor(255, 255, 255, 170));
            p.drawEllipse(QPointF(38, 36), 12, 12);
            p.drawLine(QPointF(47, 45), QPointF(58, 56));
        });
    case MainTab::Sepet:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(40, 60, 90), 4));
            p.drawLine(QPointF(4, 12), QPointF(14, 12));
            QPainterPath basket;
            basket.moveTo(14, 12);
            basket.lineTo(22, 42);
            basket.lineTo(52, 42);
            basket.lineTo(58, 20);
            basket.lineTo(17, 20);
            p.setBrush(shade(QColor(255, 190, 90), QColor(230, 120, 20), 20, 42));
            p.drawPath(basket);
            p.setBrush(QColor(40, 60, 90));
            p.drawEllipse(QPointF(26, 52), 5, 5);
            p.drawEllipse(QPointF(48, 52), 5, 5);
        });
    case MainTab::SiparisDurumlari:
        return drawn([](QPainter &p) {
            sheet(p, QColor(150, 170, 200));
            p.setPen(pen(QColor(90, 70, 40), 3));
            p.setBrush(QColor(190, 150, 90));
            p.drawRoundedRect(QRectF(22, 2, 20, 9), 3, 3);
            p.setPen(pen(QColor(30, 150, 60), 7));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({ QPointF(22, 34), QPointF(31, 44), QPointF(48, 22) }));
        });
    case MainTab::CariEkstre:
        return drawn([](QPainter &p) {
            sheet(p, QColor(60, 110, 180));
            p.setPen(pen(QColor(180, 40, 40), 3));
            p.drawLine(QPointF(36, 14), QPointF(36, 52));
            lettered(p, QRectF(30, 34, 34, 30), u"\u20ba"_s, 26, QColor(20, 110, 50));
        });
    case MainTab::YeniStoklar:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(170, 90, 0), 2.5));
            p.setBrush(shade(QColor(255, 230, 90), QColor(250, 160, 20)));
            star(p, QPointF(32, 33), 30, 19, 12);
            lettered(p, QRectF(0, 18, 64, 30), u"YEN\u0130"_s, 14, QColor(120, 30, 0));
        });
    case MainTab::Kampanyali:
        return drawn([](QPainter &p) {
            QPainterPath tag;
            tag.moveTo(6, 30);
            tag.lineTo(28, 6);
            tag.lineTo(58, 6);
            tag.lineTo(58, 36);
            tag.lineTo(34, 60);
            tag.closeSubpath();
            p.setPen(pen(QColor(150, 20, 30), 2.5));
            p.setBrush(shade(QColor(250, 90, 90), QColor(200, 30, 40)));
            p.drawPath(tag);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(48, 16), 4, 4);
            lettered(p, QRectF(14, 18, 36, 34), u"%"_s, 28, Qt::white);
        });
    case MainTab::Duyurular:
        return drawn([](QPainter &p) {
            QPainterPath horn;
            horn.moveTo(10, 26);
            horn.lineTo(24, 26);
            horn.lineTo(50, 10);
            horn.lineTo(50, 54);
            horn.lineTo(24, 38);
            horn.lineTo(10, 38);
            horn.closeSubpath();
            p.setPen(pen(QColor(30, 70, 130), 2.5));
            p.setBrush(shade(QColor(120, 180, 240), QColor(40, 100, 190)));
            p.drawPath(horn);
            p.drawRect(QRectF(16, 38, 8, 16));
            p.setPen(pen(QColor(230, 140, 20), 3));
            p.drawLine(QPointF(55, 24), QPointF(61, 20));
            p.drawLine(QPointF(55, 32), QPointF(62, 32));
            p.drawLine(QPointF(55, 40), QPointF(61, 44));
        });
    case MainTab::Bakiyeler:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(140, 100, 10), 2));
            p.setBrush(shade(QColor(255, 225, 110), QColor(220, 170, 30)));
            for (int i = 0; i < 4; ++i)
                p.drawEllipse(QRectF(6, 44 - i * 9, 30, 12));
            for (int i = 0; i < 6; ++i)
                p.drawEllipse(QRectF(28, 48 - i * 8, 30, 12));
        });
    case MainTab::OrjinalFiyatlar:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(30, 70, 130), 2.5));
            p.setBrush(shade(QColor(235, 242, 250), QColor(190, 210, 235)));
            p.drawRoundedRect(QRectF(4, 14, 56, 36), 6, 6);
            lettered(p, QRectF(4, 14, 56, 36), u"OEM"_s, 17, QColor(20, 60, 120));
            p.setPen(pen(QColor(20, 140, 60), 2));
            p.setBrush(QColor(40, 170, 80));
            p.drawEllipse(QPointF(50, 50), 10, 10);
            p.setPen(pen(Qt::white, 3));
            p.drawPolyline(QPolygonF({ QPointF(45, 50), QPointF(49, 54), QPointF(55, 46) }));
        });
    case MainTab::Dosyalar:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(150, 100, 10), 2.5));
            p.setBrush(shade(QColor(255, 215, 110), QColor(235, 170, 40)));
            QPainterPath folder;
            folder.moveTo(4, 14);
            folder.lineTo(24, 14);
            folder.lineTo(29, 20);
            folder.lineTo(60, 20);
            folder.lineTo(60, 54);
            folder.lineTo(4, 54);
            folder.closeSubpath();
            p.drawPath(folder);
            p.setBrush(shade(QColor(255, 232, 150), QColor(245, 190, 60)));
            p.drawRect(QRectF(4, 26, 56, 28));
        });
    case MainTab::SanalPos:
        return drawn([](QPainter &p) {
            p.setPen(pen(QColor(30, 50, 90), 2.5));
            p.setBrush(shade(QColor(90, 140, 220), QColor(30, 70, 150)));
            p.drawRoundedRect(QRectF(4, 12, 56, 40), 6, 6);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 30, 50));
            p.drawRect(QRectF(4, 20, 56, 8));
            p.setBrush(QColor(240, 200, 80));
            p.drawRoundedRect(QRectF(10, 34, 12, 10), 2, 2);
            p.setBrush(QColor(230, 235, 245));
            p.drawRect(QRectF(28, 40, 24, 4));
        });
    }
    return {};
}

QIcon stockStatusIcon(int status)
{
    // The legend explains the grid's status column, so it shows the grid's own pictures.
    if (status < 0 || status > 5)
        return {};
    return QIcon(gridicons::stockStatusPixmap(status, 64));
}

QIcon menuIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(30, 60, 110), 7));
        for (int y = 16; y <= 48; y += 16)
            p.drawLine(QPointF(12, y), QPointF(52, y));
    });
}

QIcon searchIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(30, 60, 110), 7));
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QPointF(26, 26), 16, 16);
        p.drawLine(QPointF(38, 38), QPointF(56, 56));
    });
}

QIcon clearIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(180, 40, 40), 8));
        p.drawLine(QPointF(16, 16), QPointF(48, 48));
        p.drawLine(QPointF(48, 16), QPointF(16, 48));
    });
}

QIcon customerIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(30, 60, 110), 2.5));
        p.setBrush(shade(QColor(140, 190, 240), QColor(40, 100, 180)));
        p.drawEllipse(QPointF(32, 20), 12, 12);
        p.drawChord(QRectF(10, 34, 44, 44), 0, 180 * 16);
    });
}

QPixmap tickerStrip()
{
    QPixmap strip(5000, 100);
    strip.fill(QColor(244, 248, 253));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(u"DejaVu Sans"_s);
    f.setBold(true);
    f.setPixelSize(40);
    p.setFont(f);
    const QString words[]
        = { u"ORVEX"_s, u"Online Sipari\u015f"_s, u"Orijinal Par\u00e7a"_s, u"H\u0131zl\u0131 Teslimat"_s };
    int x = 20;
    int i = 0;
    while (x < strip.width()) {
        const QString &word = words[i % 4];
        p.setPen(i % 2 ? QColor(43, 99, 179) : QColor(216, 59, 1));
        p.drawText(QPointF(x, 64), word);
        x += p.fontMetrics().horizontalAdvance(word) + 40;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(140, 169, 208));
        star(p, QPointF(x - 20, 50), 9, 4, 5);
        ++i;
    }
    return strip;
}

QPixmap defaultBanner()
{
    QPixmap banner(405, 70);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 405, 0);
    g.setColorAt(0, QColor(21, 66, 139));
    g.setColorAt(1, QColor(61, 123, 208));
    p.fillRect(banner.rect(), g);
    QFont f(u"DejaVu Sans"_s);
    f.setBold(true);
    f.setPixelSize(30);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 405, 48), Qt::AlignCenter, u"ORVEX OTOMOT\u0130V"_s);
    f.setPixelSize(13);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRectF(0, 44, 405, 22), Qt::AlignCenter, u"Yedek Par\u00e7a Online Sipari\u015f"_s);
    return banner;
}

} // namespace morvex::ShellIcons
