#pragma once

#include "gui/common/MessageBoxes.h"

#include <QList>

#include <functional>

namespace morvex {

// Message boxes for tests: records every box and answers it without showing anything. Answers
// come from `answers` in order, then from `answerWith`, and otherwise the default button's code.
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    struct Shown
    {
        QString text;
        MessageKind kind;
        MessageButtons buttons;
        MessageButton defaultButton;
    };

    int show(
        const QString &text, MessageKind kind, MessageButtons buttons, MessageButton defaultButton) override
    {
        shown.append({ text, kind, buttons, defaultButton });
        if (onShow)
            onShow(shown.back());
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (answerWith)
            return answerWith(shown.back());
        return MessageTexts::result(defaultButton);
    }
    void errorBeep() override { ++beeps; }

    QStringList texts() const
    {
        QStringList t;
        for (const Shown &s : shown)
            t.append(s.text);
        return t;
    }

    QList<Shown> shown;
    QList<int> answers;
    std::function<int(const Shown &)> answerWith;
    std::function<void(const Shown &)> onShow; // runs while the "box" is open
    int beeps = 0;
};

} // namespace morvex
