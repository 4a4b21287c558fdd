#include "gui/common/BusyIndicator.h"

#include <QPainter>
#include <QtMath>

namespace morvex {

namespace {
    constexpr int kDots = 10;
}

BusyIndicator::BusyIndicator(int size, QWidget *parent)
    : QWidget(parent)
    , m_size(size)
{
    setFixedSize(size, size);
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer.setInterval(90);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kDots;
        update();
    });
    hide();
}

void BusyIndicator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start();
}

void BusyIndicator::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = m_size / 2.0 - m_size / 8.0;
    const qreal dot = qMax(1.5, m_size / 10.0);
    const QPointF centre(m_size / 2.0, m_size / 2.0);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kDots; ++i) {
        const int age = (m_step - i + kDots) % kDots;
        QColor c(43, 99, 179);
        c.setAlphaF(1.0 - age * 0.085);
        p.setBrush(c);
        const qreal a = 2 * M_PI * i / kDots - M_PI / 2;
        p.drawEllipse(QPointF(centre.x() + radius * qCos(a), centre.y() + radius * qSin(a)), dot, dot);
    }
}

} // namespace morvex
