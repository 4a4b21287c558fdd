#include "gui/shell/BadgeTabWidget.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace morvex {

BadgeTabButton::BadgeTabButton(QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(u"tabButton"_s);
    setCheckable(true);
    setAutoExclusive(false);
    setFixedSize(BadgeTabWidget::kTabSize);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(26, 26));
    setFocusPolicy(Qt::TabFocus);
}

QString BadgeTabButton::fittedCaption(const QString &caption, int pixels) const
{
    QString shown = caption;
    shown.replace(u"\r\n"_s, u"\n"_s);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(pixels);
    const QFontMetrics fm(f);
    // Room beside the icon: the button less the icon, the gap and the frame.
    const int room = width() - iconSize().width() - 18;
    auto fits = [&](const QString &text) {
        for (const QString &line : text.split(u'\n')) {
            if (fm.horizontalAdvance(line) > room)
                return false;
        }
        return text.count(u'\n') <= 1;
    };
    if (fits(shown))
        return shown;
    QString broken = shown;
    broken.replace(u' ', u'\n');
    return fits(broken) ? broken : QString();
}

void BadgeTabButton::setCaptionPixelSize(int pixels)
{
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
}

void BadgeTabButton::setBadge(int value)
{
    if (m_badge == value)
        return;
    m_badge = value;
    update();
}

void BadgeTabButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (m_badge == 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    const QString text = QString::number(m_badge);
    const int w = qMax(18, p.fontMetrics().horizontalAdvance(text) + 10);
    const QRectF badgeRect(width() - w - 2, 2, w, 18);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(216, 59, 1));
    p.drawRoundedRect(badgeRect, 9, 9);
    p.setPen(Qt::white);
    p.drawText(badgeRect, Qt::AlignCenter, text);
}

BadgeTabWidget::BadgeTabWidget(QWidget *parent)
    : QWidget(parent)
    , m_strip(new QFrame(this))
    , m_stack(new QStackedWidget(this))
    , m_group(new QButtonGroup(this))
{
    m_strip->setObjectName(u"tabStrip"_s);
    m_stack->setObjectName(u"tabPages"_s);
    auto *stripLayout = new QHBoxLayout(m_strip);
    stripLayout->setContentsMargins(4, 4, 4, 4);
    stripLayout->setSpacing(3);
    stripLayout->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(m_stack, 1);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &BadgeTabWidget::setCurrentIndex);
}

int BadgeTabWidget::addTab(QWidget *page, const QString &caption, const QIcon &icon)
{
    const int index = count();
    auto *b = new BadgeTabButton(m_strip);
    b->setIcon(icon);
    m_buttons.append(b);
    m_captions.append(QString());
    m_visible.append(true);
    setTabText(index, caption);
    m_group->addButton(b, index);
    auto *stripLayout = static_cast<QHBoxLayout *>(m_strip->layout());
    stripLayout->insertWidget(stripLayout->count() - 1, b);
    m_stack->addWidget(page);
    if (m_current < 0)
        setCurrentIndex(index);
    return index;
}

QWidget *BadgeTabWidget::page(int index) const
{
    return m_stack->widget(index);
}

void BadgeTabWidget::setTabText(int index, const QString &caption)
{
    if (index < 0 || index >= count())
        return;
    m_captions[index] = caption;
    fitCaptions();
}

void BadgeTabWidget::fitCaptions()
{
    // The largest font, from the window's own size down, with which every caption fits.
    int pixels = font().pixelSize() > 0 ? font().pixelSize() : 13;
    for (; pixels > 9; --pixels) {
        bool all = true;
        for (int i = 0; i < count() && all; ++i)
            all = !m_buttons[i]->fittedCaption(m_captions[i], pixels).isEmpty();
        if (all)
            break;
    }
    for (int i = 0; i < count(); ++i) {
        m_buttons[i]->setCaptionPixelSize(pixels);
        const QString text = m_buttons[i]->fittedCaption(m_captions[i], pixels);
        m_buttons[i]->setText(text.isEmpty() ? QString(m_captions[i]).replace(u"\r\n"_s, u"\n"_s) : text);
    }
}

QString BadgeTabWidget::tabText(int index) const
{
    return m_captions.value(index);
}

void BadgeTabWidget::setBadge(int index, int value)
{
    if (BadgeTabButton *b = button(index))
        b->setBadge(value);
}

int BadgeTabWidget::badge(int index) const
{
    const BadgeTabButton *b = button(index);
    return b ? b->badge() : 0;
}

void BadgeTabWidget::setTabVisible(int index, bool visible)
{
    BadgeTabButton *b = button(index);
    if (!b)
        return;
    b->setVisible(visible);
    m_visible[index] = visible;
    if (!visible && index == m_current) {
        for (int i = 0; i < count(); ++i) {
            if (isTabVisible(i)) {
                setCurrentIndex(i);
                break;
            }
        }
    }
}

bool BadgeTabWidget::isTabVisible(int index) const
{
    return m_visible.value(index, false);
}

void BadgeTabWidget::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current || !isTabVisible(index)) {
        if (BadgeTabButton *b = button(m_current))
            b->setChecked(true);
        return;
    }
    const int previous = m_current;
    m_current = index;
    m_buttons[index]->setChecked(true);
    m_stack->setCurrentIndex(index);
    Q_EMIT currentChanged(index, previous);
}

} // namespace morvex
