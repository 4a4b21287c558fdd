#include "gui/shell/Ticker.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {
    constexpr int kGap = 5;
    constexpr int kStepPixels = 2;
} // namespace

Ticker::Ticker(int height, QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(height);
    // The panel behind shows through: a light background in either theme.
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const int cycle = cycleWidth();
        if (cycle > 0) {
            m_offset = (m_offset + kStepPixels) % cycle;
            update();
        }
    });
}

void Ticker::clear()
{
    m_items.clear();
    m_texts.clear();
    m_offset = 0;
    update();
}

void Ticker::addPixmap(const QPixmap &pixmap)
{
    m_items.append(pixmap);
    m_texts.append(QString());
    update();
}

void Ticker::addText(const QString &html)
{
    // 24-pixel Arial (DejaVu Sans where Arial is missing), on the ticker's own background.
    QTextDocument doc;
    QFont f(u"Arial"_s);
    f.setPixelSize(24);
    doc.setDefaultFont(f);
    doc.setDocumentMargin(0);
    if (Qt::mightBeRichText(html))
        doc.setHtml(html);
    else
        doc.setPlainText(html);
    const QSizeF size = doc.size();
    QPixmap pixmap(qMax(1, qCeil(doc.idealWidth())), qMax(1, qCeil(size.height())));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    doc.drawContents(&p);
    p.end();
    m_items.append(pixmap);
    m_texts.append(html);
    update();
}

void Ticker::start()
{
    m_running = true;
    if (isVisible())
        m_timer.start();
}

void Ticker::stop()
{
    m_running = false;
    m_timer.stop();
}

void Ticker::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_running)
        m_timer.start();
}

void Ticker::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

int Ticker::cycleWidth() const
{
    int w = 0;
    for (const QPixmap &item : m_items)
        w += item.width() + kGap;
    return w;
}

void Ticker::paintEvent(QPaintEvent *)
{
    const int cycle = cycleWidth();
    if (cycle <= 0)
        return;
    QPainter p(this);
    // Items enter from the right edge and repeat for as long as the line is wider than a cycle.
    int x = width() - m_offset;
    while (x > 0)
        x -= cycle;
    for (int i = 0; x < width(); i = (i + 1) % int(m_items.size())) {
        const QPixmap &item = m_items[i];
        p.drawPixmap(x, (height() - item.height()) / 2, item);
        x += item.width() + kGap;
    }
}

} // namespace morvex
