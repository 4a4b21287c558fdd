#pragma once

#include "gui/common/MessageBoxes.h"

#include <QDialog>

class QPushButton;

namespace morvex {

// The message box itself: icon and title by kind, Turkish button captions, text at 15 points,
// centred on the screen. Help does not close it; Escape answers with the box's cancel button
// (Cancel, else No, else OK) and the window's close button with Cancel.
class MessageDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTextPointSize = 15;

    MessageDialog(const QString &text, MessageKind kind, MessageButtons buttons, MessageButton defaultButton,
        QWidget *parent = nullptr);

    QPushButton *button(MessageButton which) const;
    QPushButton *defaultButton() const { return m_default; }
    MessageKind kind() const { return m_kind; }

Q_SIGNALS:
    void helpRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    MessageKind m_kind;
    QPushButton *m_default = nullptr;
    int m_escapeResult = ModalResult::Cancel;
    QList<QPair<MessageButton, QPushButton *>> m_buttons;
};

// The application's message boxes: a MessageDialog per call, after the kind's sound.
class DialogMessageBoxes : public MessageBoxes
{
public:
    int show(
        const QString &text, MessageKind kind, MessageButtons buttons, MessageButton defaultButton) override;
    void errorBeep() override;
};

} // namespace morvex
