#pragma once

#include <QFrame>
#include <QIcon>
#include <QList>
#include <QToolButton>

class QButtonGroup;
class QStackedWidget;

namespace morvex {

// A tab button that paints its number badge in the top-right corner (nothing while it is 0).
class BadgeTabButton : public QToolButton
{
    Q_OBJECT
public:
    explicit BadgeTabButton(QWidget *parent = nullptr);
    // The caption as shown with a font of `pixels`: a line too wide for the room beside the
    // icon is broken at its blanks. Empty when it does not fit in two lines.
    QString fittedCaption(const QString &caption, int pixels) const;
    // The caption font's size, the same on every tab of a strip.
    void setCaptionPixelSize(int pixels);
    void setBadge(int value);
    int badge() const { return m_badge; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_badge = 0;
};

// Button-style tabs (110 by 55 pixels, icon and caption) over a page stack. Tabs can be hidden;
// a hidden tab is never current.
class BadgeTabWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize kTabSize { 110, 55 };

    explicit BadgeTabWidget(QWidget *parent = nullptr);

    int addTab(QWidget *page, const QString &caption, const QIcon &icon);
    int count() const { return int(m_buttons.size()); }
    QWidget *page(int index) const;
    BadgeTabButton *button(int index) const { return m_buttons.value(index); }

    // Captions may hold "\r\n" line breaks; they are shown as two lines.
    void setTabText(int index, const QString &caption);
    QString tabText(int index) const;
    void setBadge(int index, int value);
    int badge(int index) const;
    void setTabVisible(int index, bool visible);
    bool isTabVisible(int index) const;

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

Q_SIGNALS:
    // After the switch; `previous` is -1 for the first tab made current.
    void currentChanged(int index, int previous);

private:
    QFrame *m_strip;
    QStackedWidget *m_stack;
    QButtonGroup *m_group;
    QList<BadgeTabButton *> m_buttons;
    QStringList m_captions;
    QList<bool> m_visible;

    void fitCaptions();
    int m_current = -1;
};

} // namespace morvex
