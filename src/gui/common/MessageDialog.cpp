#include "gui/common/MessageDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace morvex {

namespace {

    // Button order on the box, as users of the old client know it.
    constexpr MessageButton kButtonOrder[] = {
        MessageButton::Yes,
        MessageButton::No,
        MessageButton::Ok,
        MessageButton::Cancel,
        MessageButton::Abort,
        MessageButton::Retry,
        MessageButton::Ignore,
        MessageButton::NoToAll,
        MessageButton::YesToAll,
        MessageButton::Help,
    };

    QStyle::StandardPixmap iconFor(MessageKind kind)
    {
        switch (kind) {
        case MessageKind::Warning:
            return QStyle::SP_MessageBoxWarning;
        case MessageKind::Error:
            return QStyle::SP_MessageBoxCritical;
        case MessageKind::Information:
            return QStyle::SP_MessageBoxInformation;
        case MessageKind::Question:
            return QStyle::SP_MessageBoxQuestion;
        case MessageKind::Plain:
            break;
        }
        return QStyle::SP_CustomBase;
    }

} // namespace

MessageDialog::MessageDialog(const QString &text, MessageKind kind, MessageButtons buttons,
    MessageButton defaultButton, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("messageBox"));
    setModal(true);
    setWindowTitle(MessageTexts::title(kind));

    auto *textRow = new QHBoxLayout;
    if (iconFor(kind) != QStyle::SP_CustomBase) {
        auto *icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setPixmap(style()->standardIcon(iconFor(kind)).pixmap(48, 48));
        icon->setAlignment(Qt::AlignTop);
        textRow->addWidget(icon);
    }
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("text"));
    QFont font = label->font();
    font.setPointSize(kTextPointSize);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(text.size() > 60);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    textRow->addWidget(label, 1);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    if (!buttons)
        buttons = MessageButton::Ok;
    for (MessageButton which : kButtonOrder) {
        if (!buttons.testFlag(which))
            continue;
        auto *b = new QPushButton(MessageTexts::caption(which), this);
        b->setMinimumWidth(90);
        b->setAutoDefault(false);
        buttonRow->addWidget(b);
        m_buttons.append({ which, b });
        if (which == MessageButton::Help) {
            connect(b, &QPushButton::clicked, this, &MessageDialog::helpRequested);
        } else {
            const int code = MessageTexts::result(which);
            connect(b, &QPushButton::clicked, this, [this, code] { done(code); });
        }
    }
    m_default = button(defaultButton);
    if (!m_default)
        m_default = m_buttons.front().second;
    m_default->setDefault(true);
    // The default button comes first in the focus chain so that it has the focus when the box opens.
    QWidget *previous = m_default;
    for (const auto &[which, b] : m_buttons) {
        if (b == m_default)
            continue;
        setTabOrder(previous, b);
        previous = b;
    }

    if (buttons.testFlag(MessageButton::Cancel))
        m_escapeResult = ModalResult::Cancel;
    else if (buttons.testFlag(MessageButton::No))
        m_escapeResult = ModalResult::No;
    else if (buttons.testFlag(MessageButton::Ok))
        m_escapeResult = ModalResult::Ok;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->setSpacing(16);
    layout->addLayout(textRow);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton *MessageDialog::button(MessageButton which) const
{
    for (const auto &[w, b] : m_buttons) {
        if (w == which)
            return b;
    }
    return nullptr;
}

void MessageDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_default->setFocus(Qt::OtherFocusReason);
}

void MessageDialog::reject()
{
    // Escape (QDialog routes it here).
    done(m_escapeResult);
}

void MessageDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
    done(ModalResult::Cancel);
}

int DialogMessageBoxes::show(
    const QString &text, MessageKind kind, MessageButtons buttons, MessageButton defaultButton)
{
    // Sounds: the desktop offers one beep, played for every kind except a plain box.
    if (kind != MessageKind::Plain)
        QApplication::beep();
    MessageDialog box(text, kind, buttons, defaultButton);
    return box.exec();
}

void DialogMessageBoxes::errorBeep()
{
    QApplication::beep();
}

} // namespace morvex
