#pragma once

#include <QFlags>
#include <QString>

namespace morvex {

enum class MessageKind { Warning, Error, Information, Question, Plain };

enum class MessageButton : unsigned {
    Yes = 0x001,
    No = 0x002,
    Ok = 0x004,
    Cancel = 0x008,
    Abort = 0x010,
    Retry = 0x020,
    Ignore = 0x040,
    YesToAll = 0x080,
    NoToAll = 0x100,
    Help = 0x200,
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

// The codes a box returns. Callers only ever test for Yes; everything else means "acknowledged".
namespace ModalResult {
    inline constexpr int None = 0;
    inline constexpr int Ok = 1;
    inline constexpr int Cancel = 2;
    inline constexpr int Abort = 3;
    inline constexpr int Retry = 4;
    inline constexpr int Ignore = 5;
    inline constexpr int Yes = 6;
    inline constexpr int No = 7;
    inline constexpr int NoToAll = 9;
    inline constexpr int YesToAll = 10;
} // namespace ModalResult

// The user-visible texts of message boxes: titles by kind, button captions.
namespace MessageTexts {
    QString title(MessageKind kind); // for Plain: the application title
    // The application title (what a plain box shows as its title). Set once at start-up.
    void setApplicationTitle(const QString &title);
    QString applicationTitle();
    QString caption(MessageButton button);
    int result(MessageButton button); // ModalResult::None for Help, which does not close the box
    inline constexpr char16_t connectionFailure[]
        = u"Ba\u011flant\u0131 Kurulam\u0131yor L\u00fctfen Tekrar Deneyin ...!";
} // namespace MessageTexts

// How windows show message boxes. The application uses DialogMessageBoxes; tests put in a
// ScriptedMessageBoxes that answers and records what was shown.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;

    // Shows a modal box and returns the pressed button's ModalResult code. Escape and the
    // window's close button give a code other than Yes. `defaultButton` has the focus; it must
    // be one of `buttons` (otherwise the first button shown gets it).
    virtual int show(
        const QString &text, MessageKind kind, MessageButtons buttons, MessageButton defaultButton)
        = 0;

    // The system's error beep, sounded on its own (before some warnings).
    virtual void errorBeep() = 0;
};

// Shorthands for the boxes the windows use.
int showWarning(MessageBoxes &boxes, const QString &text); // OK button
int showError(MessageBoxes &boxes, const QString &text); // OK button
int showInformation(MessageBoxes &boxes, const QString &text); // OK button
bool askYesNo(MessageBoxes &boxes, const QString &text); // Yes and No, Yes focused; true on Yes

// "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!" in an error box, OK the default.
void showConnectionFailure(MessageBoxes &boxes);

} // namespace morvex
