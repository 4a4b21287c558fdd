#include "gui/shell/LoginPicture.h"

#include "gui/shell/LoginTexts.h"
#include "gui/shell/Tgirisform.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace morvex {

QPixmap loginPicture()
{
    const QSize size = Tgirisform::kSize;
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF outline = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QPainterPath shape;
    shape.addRoundedRect(outline, 34, 34);
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0.0, QColor(13, 44, 92));
    body.setColorAt(0.45, QColor(31, 86, 160));
    body.setColorAt(1.0, QColor(12, 38, 80));
    p.fillPath(shape, body);
    p.setPen(QPen(QColor(150, 190, 240), 2));
    p.drawPath(shape);

    // A soft light behind the emblem.
    QRadialGradient glow(QPointF(size.width() / 2.0, 130), 150);
    glow.setColorAt(0, QColor(120, 180, 255, 120));
    glow.setColorAt(1, QColor(120, 180, 255, 0));
    p.fillPath(shape, glow);

    // Emblem: a gear with the brand's initial.
    const QPointF centre(size.width() / 2.0, 120);
    QPainterPath gear;
    const int teeth = 12;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal r = (i % 2) ? 52 : 62;
        for (int k = 0; k < 2; ++k) {
            const qreal a = 2 * M_PI * (i + k * 0.999) / (teeth * 2);
            const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
            (i == 0 && k == 0) ? gear.moveTo(pt) : gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(centre, 30, 30);
    gear.setFillRule(Qt::OddEvenFill);
    QLinearGradient metal(0, centre.y() - 62, 0, centre.y() + 62);
    metal.setColorAt(0, QColor(235, 242, 250));
    metal.setColorAt(1, QColor(150, 175, 205));
    p.fillPath(gear, metal);
    p.setBrush(QColor(216, 59, 1));
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 26, 26);
    QFont f(u"DejaVu Sans"_s);
    f.setBold(true);
    f.setPixelSize(30);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(centre.x() - 26, centre.y() - 26, 52, 52), Qt::AlignCenter, u"O"_s);

    f.setPixelSize(44);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(f);
    p.drawText(QRectF(0, 196, size.width(), 56), Qt::AlignCenter, LoginTexts::brand());
    f.setPixelSize(17);
    f.setBold(false);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(f);
    p.setPen(QColor(200, 220, 245));
    p.drawText(QRectF(0, 250, size.width(), 26), Qt::AlignCenter, LoginTexts::tagline());

    // The panel the input boxes sit on.
    QPainterPath panel;
    panel.addRoundedRect(QRectF(22, 300, size.width() - 44, 246), 18, 18);
    p.fillPath(panel, QColor(255, 255, 255, 36));
    p.strokePath(panel, QPen(QColor(255, 255, 255, 70), 1));
    return picture;
}

} // namespace morvex
