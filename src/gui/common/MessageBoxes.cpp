#include "gui/common/MessageBoxes.h"

using namespace Qt::StringLiterals;

namespace morvex {

namespace {
    QString &storedApplicationTitle()
    {
        static QString title;
        return title;
    }
} // namespace

void MessageTexts::setApplicationTitle(const QString &title)
{
    storedApplicationTitle() = title;
}

QString MessageTexts::applicationTitle()
{
    return storedApplicationTitle();
}

QString MessageTexts::title(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return u"Uyar\u0131"_s;
    case MessageKind::Error:
        return u"Hata"_s;
    case MessageKind::Information:
        return u"Bilgi"_s;
    case MessageKind::Question:
        return u"Soru"_s;
    case MessageKind::Plain:
        break;
    }
    return applicationTitle();
}

QString MessageTexts::caption(MessageButton button)
{
    switch (button) {
    case MessageButton::Yes:
        return u"Evet"_s;
    case MessageButton::No:
        return u"Hay\u0131r"_s;
    case MessageButton::Ok:
        return u"Tamam"_s;
    case MessageButton::Cancel:
        return u"Vazge\u00e7"_s;
    case MessageButton::Abort:
        return u"\u0130ptal"_s;
    case MessageButton::Retry:
        return u"Tekrar"_s;
    case MessageButton::Ignore:
        return u"Atla"_s;
    case MessageButton::YesToAll:
        return u"T\u00fcm\u00fcne Evet"_s;
    case MessageButton::NoToAll:
        return u"T\u00fcm\u00fcne Hay\u0131r"_s;
    case MessageButton::Help:
        return u"Yard\u0131m"_s;
    }
    return {};
}

int MessageTexts::result(MessageButton button)
{
    switch (button) {
    case MessageButton::Yes:
        return ModalResult::Yes;
    case MessageButton::No:
        return ModalResult::No;
    case MessageButton::Ok:
        return ModalResult::Ok;
    case MessageButton::Cancel:
        return ModalResult::Cancel;
    case MessageButton::Abort:
        return ModalResult::Abort;
    case MessageButton::Retry:
        return ModalResult::Retry;
    case MessageButton::Ignore:
        return ModalResult::Ignore;
    case MessageButton::YesToAll:
        return ModalResult::YesToAll;
    case MessageButton::NoToAll:
        return ModalResult::NoToAll;
    case MessageButton::Help:
        break;
    }
    return ModalResult::None;
}

int showWarning(MessageBoxes &boxes, const QString &text)
{
    return boxes.show(text, MessageKind::Warning, MessageButton::Ok, MessageButton::Ok);
}

int showError(MessageBoxes &boxes, const QString &text)
{
    return boxes.show(text, MessageKind::Error, MessageButton::Ok, MessageButton::Ok);
}

int showInformation(MessageBoxes &boxes, const QString &text)
{
    return boxes.show(text, MessageKind::Information, MessageButton::Ok, MessageButton::Ok);
}

bool askYesNo(MessageBoxes &boxes, const QString &text)
{
    return boxes.show(text, MessageKind::Question, MessageButton::Yes | MessageButton::No, MessageButton::Yes)
        == ModalResult::Yes;
}

void showConnectionFailure(MessageBoxes &boxes)
{
    showError(boxes, QString::fromUtf16(MessageTexts::connectionFailure));
}

} // namespace morvex
