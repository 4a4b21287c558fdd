#include "gui/grid/GridIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

#include <cmath>
#include <numbers>

namespace morvex::gridicons {

namespace {

    using namespace Qt::StringLiterals;

    // The largest centred square in rect, less a small margin.
    QRectF square(const QRectF &rect)
    {
        const qreal side = std::min(rect.width(), rect.height());
        QRectF box(0, 0, side, side);
        box.moveCenter(rect.center());
        return box.adjusted(side * 0.06, side * 0.06, -side * 0.06, -side * 0.06);
    }

    // Draws on a unit square (0..1 in both directions) mapped onto rect.
    class UnitPainter
    {
    public:
        UnitPainter(QPainter *painter, const QRectF &rect)
            : m_painter(painter)
        {
            m_painter->save();
            m_painter->setRenderHint(QPainter::Antialiasing);
            const QRectF box = square(rect);
            m_painter->translate(box.topLeft());
            m_painter->scale(box.width(), box.height());
        }
        ~UnitPainter() { m_painter->restore(); }
        QPainter *operator->() const { return m_painter; }

        void disc(const QColor &fill)
        {
            m_painter->setPen(QPen(fill.darker(130), 0.05));
            m_painter->setBrush(fill);
            m_painter->drawEllipse(QRectF(0.04, 0.04, 0.92, 0.92));
        }
        void stroke(const QColor &colour, qreal width)
        {
            QPen pen(colour, width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            m_painter->setPen(pen);
            m_painter->setBrush(Qt::NoBrush);
        }
        void fill(const QColor &colour)
        {
            m_painter->setPen(Qt::NoPen);
            m_painter->setBrush(colour);
        }

    private:
        QPainter *m_painter;
    };

    void cross(UnitPainter &p, const QColor &colour)
    {
        p.stroke(colour, 0.13);
        p->drawLine(QPointF(0.33, 0.33), QPointF(0.67, 0.67));
        p->drawLine(QPointF(0.67, 0.33), QPointF(0.33, 0.67));
    }

    void tick(UnitPainter &p, const QColor &colour)
    {
        p.stroke(colour, 0.13);
        const QPointF points[] = { { 0.27, 0.52 }, { 0.43, 0.68 }, { 0.73, 0.34 } };
        p->drawPolyline(points, 3);
    }

    void handset(UnitPainter &p)
    {
        // A receiver: two ear pieces joined by a curved grip.
        p.stroke(Qt::white, 0.12);
        QPainterPath grip;
        grip.moveTo(0.30, 0.40);
        grip.cubicTo(0.30, 0.22, 0.70, 0.22, 0.70, 0.40);
        p->drawPath(grip);
        p.fill(Qt::white);
        p->drawRoundedRect(QRectF(0.20, 0.38, 0.20, 0.14), 0.04, 0.04);
        p->drawRoundedRect(QRectF(0.60, 0.38, 0.20, 0.14), 0.04, 0.04);
        // The dial body.
        QPainterPath body;
        body.moveTo(0.28, 0.76);
        body.lineTo(0.36, 0.54);
        body.lineTo(0.64, 0.54);
        body.lineTo(0.72, 0.76);
        body.closeSubpath();
        p->drawPath(body);
    }

    void truck(UnitPainter &p)
    {
        p.fill(Qt::white);
        p->drawRect(QRectF(0.18, 0.34, 0.38, 0.28)); // load box
        QPainterPath cab;
        cab.moveTo(0.58, 0.42);
        cab.lineTo(0.72, 0.42);
        cab.lineTo(0.82, 0.52);
        cab.lineTo(0.82, 0.62);
        cab.lineTo(0.58, 0.62);
        cab.closeSubpath();
        p->drawPath(cab);
        p->setPen(QPen(QColor(30, 90, 170), 0.03));
        p->drawEllipse(QPointF(0.32, 0.66), 0.075, 0.075);
        p->drawEllipse(QPointF(0.70, 0.66), 0.075, 0.075);
    }

    void star(UnitPainter &p, const QColor &colour, qreal outer = 0.36, qreal inner = 0.15)
    {
        QPainterPath path;
        for (int i = 0; i < 10; ++i) {
            const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            const qreal radius = (i % 2 == 0) ? outer : inner;
            const QPointF point(0.5 + radius * std::cos(angle), 0.52 + radius * std::sin(angle));
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        path.closeSubpath();
        p.fill(colour);
        p->drawPath(path);
    }

    void hourglass(UnitPainter &p)
    {
        p.stroke(Qt::white, 0.08);
        p->drawLine(QPointF(0.32, 0.24), QPointF(0.68, 0.24));
        p->drawLine(QPointF(0.32, 0.76), QPointF(0.68, 0.76));
        p.fill(Qt::white);
        QPainterPath glass;
        glass.moveTo(0.36, 0.28);
        glass.lineTo(0.64, 0.28);
        glass.lineTo(0.52, 0.50);
        glass.lineTo(0.64, 0.72);
        glass.lineTo(0.36, 0.72);
        glass.lineTo(0.48, 0.50);
        glass.closeSubpath();
        p->drawPath(glass);
    }

} // namespace

void paintStockStatus(QPainter *painter, const QRectF &rect, int value)
{
    UnitPainter p(painter, rect);
    switch (value) {
    case 0: // Yok
        p.disc(QColor(214, 48, 49));
        cross(p, Qt::white);
        break;
    case 1: // Var
        p.disc(QColor(39, 160, 70));
        tick(p, Qt::white);
        break;
    case 2: // Telefon Açınız
        p.disc(QColor(240, 140, 20));
        handset(p);
        break;
    case 3: // Yolda
        p.disc(QColor(30, 90, 170));
        truck(p);
        break;
    case 4: // Özel Sipariş
        p.disc(QColor(130, 60, 170));
        star(p, Qt::white);
        break;
    case 5: // Tedarik Sürecinde
        p.disc(QColor(0, 150, 160));
        hourglass(p);
        break;
    default:
        break;
    }
}

void paintYesNo(QPainter *painter, const QRectF &rect, bool yes)
{
    UnitPainter p(painter,
        rect.adjusted(rect.width() * 0.1, rect.height() * 0.1, -rect.width() * 0.1, -rect.height() * 0.1));
    if (yes) {
        p.disc(QColor(39, 160, 70));
        tick(p, Qt::white);
    } else {
        p->setPen(QPen(QColor(150, 150, 150), 0.07));
        p->setBrush(QColor(235, 235, 235));
        p->drawEllipse(QRectF(0.08, 0.08, 0.84, 0.84));
        p.stroke(QColor(150, 150, 150), 0.1);
        p->drawLine(QPointF(0.32, 0.5), QPointF(0.68, 0.5));
    }
}

void paintCampaign(QPainter *painter, const QRectF &rect, bool onCampaign)
{
    UnitPainter p(painter,
        rect.adjusted(rect.width() * 0.1, rect.height() * 0.1, -rect.width() * 0.1, -rect.height() * 0.1));
    if (onCampaign) {
        // A price tag with a percent sign.
        QPainterPath tag;
        tag.moveTo(0.08, 0.50);
        tag.lineTo(0.32, 0.18);
        tag.lineTo(0.92, 0.18);
        tag.lineTo(0.92, 0.82);
        tag.lineTo(0.32, 0.82);
        tag.closeSubpath();
        p.fill(QColor(220, 50, 60));
        p->drawPath(tag);
        p.stroke(Qt::white, 0.07);
        p->drawLine(QPointF(0.48, 0.70), QPointF(0.76, 0.30));
        p.fill(Qt::white);
        p->drawEllipse(QPointF(0.50, 0.36), 0.06, 0.06);
        p->drawEllipse(QPointF(0.74, 0.64), 0.06, 0.06);
    } else {
        p.fill(QColor(200, 200, 200));
        p->drawEllipse(QPointF(0.5, 0.5), 0.10, 0.10);
    }
}

void paintFileType(QPainter *painter, const QRectF &rect, int code)
{
    struct Look
    {
        QColor colour;
        QString label;
    };
    static const Look looks[] = {
        { QColor(120, 120, 120), QString() }, // anything else
        { QColor(160, 40, 60), u"DB"_s }, // .MDB
        { QColor(40, 150, 90), QString() }, // picture: drawn as a landscape
        { QColor(40, 90, 180), u"W"_s }, // .DOC
        { QColor(200, 40, 40), u"PDF"_s }, // .PDF
        { QColor(210, 100, 40), u"P"_s }, // .PPT
        { QColor(30, 120, 60), u"X"_s }, // .XLS
    };
    const Look &look = looks[(code >= 0 && code <= 6) ? code : 0];
    UnitPainter p(painter, rect);
    // A page with a folded corner.
    QPainterPath page;
    page.moveTo(0.20, 0.06);
    page.lineTo(0.62, 0.06);
    page.lineTo(0.80, 0.24);
    page.lineTo(0.80, 0.94);
    page.lineTo(0.20, 0.94);
    page.closeSubpath();
    p->setPen(QPen(QColor(110, 110, 110), 0.03));
    p->setBrush(Qt::white);
    p->drawPath(page);
    p.fill(QColor(200, 200, 200));
    QPainterPath fold;
    fold.moveTo(0.62, 0.06);
    fold.lineTo(0.62, 0.24);
    fold.lineTo(0.80, 0.24);
    fold.closeSubpath();
    p->drawPath(fold);
    if (code < 1 || code > 6) {
        // Any other file: a page of text lines.
        p.stroke(QColor(150, 150, 150), 0.05);
        for (qreal y : { 0.40, 0.54, 0.68, 0.82 })
            p->drawLine(QPointF(0.30, y), QPointF(0.70, y));
        return;
    }
    // A coloured band with the type's letters.
    p.fill(look.colour);
    const QRectF band(0.12, 0.46, 0.62, 0.30);
    p->drawRoundedRect(band, 0.04, 0.04);
    if (code == 2) {
        p.fill(Qt::white);
        const QPointF hills[]
            = { { 0.18, 0.72 }, { 0.34, 0.54 }, { 0.46, 0.66 }, { 0.56, 0.58 }, { 0.70, 0.72 } };
        p->drawPolygon(hills, 5);
    } else if (!look.label.isEmpty()) {
        QFont font = p->font();
        font.setBold(true);
        font.setPixelSize(100);
        p->setFont(font);
        p->setPen(Qt::white);
        // Text is laid out at a readable size and scaled into the band.
        p->save();
        p->translate(band.topLeft());
        p->scale(band.width() / 300.0, band.height() / 120.0);
        p->drawText(QRectF(0, 0, 300, 120), Qt::AlignCenter, look.label);
        p->restore();
    }
}

QPixmap stockStatusPixmap(int value, int size, qreal devicePixelRatio)
{
    return cachedIcon(IconSet::StockStatus, value, size, devicePixelRatio);
}

QPixmap cachedIcon(IconSet set, int value, int size, qreal devicePixelRatio)
{
    const QString key
        = u"morvex-grid-icon-%1-%2-%3-%4"_s.arg(int(set)).arg(value).arg(size).arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRectF rect(0, 0, size, size);
    switch (set) {
    case IconSet::StockStatus:
        paintStockStatus(&painter, rect, value);
        break;
    case IconSet::YesNo:
        paintYesNo(&painter, rect, value == 1);
        break;
    case IconSet::Campaign:
        paintCampaign(&painter, rect, value == 1);
        break;
    case IconSet::FileType:
        paintFileType(&painter, rect, value);
        break;
    }
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace morvex::gridicons
