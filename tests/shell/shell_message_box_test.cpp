#include "gui/common/MessageDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace morvex;

class MessageBoxTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titlesByKind_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("hasIcon");
        QTest::newRow("warning") << MessageKind::Warning << u"Uyar\u0131"_s << true;
        QTest::newRow("error") << MessageKind::Error << u"Hata"_s << true;
        QTest::newRow("information") << MessageKind::Information << u"Bilgi"_s << true;
        QTest::newRow("question") << MessageKind::Question << u"Soru"_s << true;
        QTest::newRow("plain: application title")
            << MessageKind::Plain << u"Uygulama  (Ba\u015fl\u0131k)"_s << false;
    }
    void titlesByKind()
    {
        QFETCH(MessageKind, kind);
        QFETCH(QString, title);
        QFETCH(bool, hasIcon);
        MessageTexts::setApplicationTitle(u"Uygulama  (Ba\u015fl\u0131k)"_s);
        MessageDialog box(u"Metin \u015e\u0130\u011e"_s, kind, MessageButton::Ok, MessageButton::Ok);
        QCOMPARE(box.windowTitle(), title);
        QCOMPARE(box.findChild<QLabel *>(u"icon"_s) != nullptr, hasIcon);
        auto *text = box.findChild<QLabel *>(u"text"_s);
        QVERIFY(text);
        QCOMPARE(text->text(), u"Metin \u015e\u0130\u011e"_s);
        QCOMPARE(text->font().pointSize(), MessageDialog::kTextPointSize);
        QCOMPARE(MessageDialog::kTextPointSize, 15);
    }

    // Every button: its caption, and the code a click returns.
    void buttonsCaptionsAndCodes_data()
    {
        QTest::addColumn<MessageButton>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("code");
        QTest::newRow("yes") << MessageButton::Yes << u"Evet"_s << 6;
        QTest::newRow("no") << MessageButton::No << u"Hay\u0131r"_s << 7;
        QTest::newRow("ok") << MessageButton::Ok << u"Tamam"_s << 1;
        QTest::newRow("cancel") << MessageButton::Cancel << u"Vazge\u00e7"_s << 2;
        QTest::newRow("abort") << MessageButton::Abort << u"\u0130ptal"_s << 3;
        QTest::newRow("retry") << MessageButton::Retry << u"Tekrar"_s << 4;
        QTest::newRow("ignore") << MessageButton::Ignore << u"Atla"_s << 5;
        QTest::newRow("yes to all") << MessageButton::YesToAll << u"T\u00fcm\u00fcne Evet"_s << 10;
        QTest::newRow("no to all") << MessageButton::NoToAll << u"T\u00fcm\u00fcne Hay\u0131r"_s << 9;
    }
    void buttonsCaptionsAndCodes()
    {
        QFETCH(MessageButton, button);
        QFETCH(QString, caption);
        QFETCH(int, code);
        const MessageButtons all = MessageButton::Yes | MessageButton::No | MessageButton::Ok
            | MessageButton::Cancel | MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore
            | MessageButton::YesToAll | MessageButton::NoToAll | MessageButton::Help;
        MessageDialog box(u"?"_s, MessageKind::Question, all, MessageButton::Yes);
        box.open();
        QPushButton *b = box.button(button);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), code);
    }

    void helpDoesNotClose()
    {
        MessageDialog box(
            u"?"_s, MessageKind::Information, MessageButton::Ok | MessageButton::Help, MessageButton::Ok);
        box.open();
        QSignalSpy help(&box, &MessageDialog::helpRequested);
        QCOMPARE(box.button(MessageButton::Help)->text(), u"Yard\u0131m"_s);
        QTest::mouseClick(box.button(MessageButton::Help), Qt::LeftButton);
        QCOMPARE(help.count(), 1);
        QVERIFY(box.isVisible());
    }

    void defaultButtonHasFocus_data()
    {
        QTest::addColumn<MessageButton>("defaultButton");
        QTest::newRow("yes") << MessageButton::Yes;
        QTest::newRow("no") << MessageButton::No;
        QTest::newRow("cancel") << MessageButton::Cancel;
    }
    void defaultButtonHasFocus()
    {
        QFETCH(MessageButton, defaultButton);
        MessageDialog box(u"?"_s, MessageKind::Question,
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel, defaultButton);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QCOMPARE(QApplication::focusWidget(), box.button(defaultButton));
        QVERIFY(box.button(defaultButton)->isDefault());
        // Enter presses the focused default button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(box.result(), MessageTexts::result(defaultButton));
    }

    // Escape and the close button never answer "yes".
    void escapeAndCloseAreNotYes_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("escapeCode");
        QTest::newRow("yes/no") << MessageButtons(MessageButton::Yes | MessageButton::No) << 7;
        QTest::newRow("yes/no/cancel")
            << (MessageButton::Yes | MessageButton::No | MessageButton::Cancel) << 2;
        QTest::newRow("ok") << MessageButtons(MessageButton::Ok) << 1;
        QTest::newRow("yes alone") << MessageButtons(MessageButton::Yes) << 2;
    }
    void escapeAndCloseAreNotYes()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(int, escapeCode);
        {
            MessageDialog box(u"?"_s, MessageKind::Question, buttons, MessageButton::Yes);
            box.show();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            QTest::keyClick(&box, Qt::Key_Escape);
            QVERIFY(!box.isVisible());
            QCOMPARE(box.result(), escapeCode);
        }
        {
            MessageDialog box(u"?"_s, MessageKind::Question, buttons, MessageButton::Yes);
            box.show();
            box.close();
            QVERIFY(!box.isVisible());
            QCOMPARE(box.result(), int(ModalResult::Cancel));
        }
    }

    // The application's boxes, modal as the windows use them, answered by a click.
    void dialogMessageBoxesReturnThePressedCode()
    {
        DialogMessageBoxes boxes;
        QString seenTitle;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenTitle = box->windowTitle();
            QTest::mouseClick(box->button(MessageButton::No), Qt::LeftButton);
        });
        QCOMPARE(boxes.show(u"Programdan \u00c7\u0131kmak \u0130stiyor musunuz ?"_s, MessageKind::Question,
                     MessageButton::Yes | MessageButton::No, MessageButton::Yes),
            int(ModalResult::No));
        QCOMPARE(seenTitle, u"Soru"_s);

        QString text;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->findChild<QLabel *>(u"text"_s)->text();
            QCOMPARE(box->kind(), MessageKind::Error);
            QCOMPARE(box->defaultButton(), box->button(MessageButton::Ok));
            box->defaultButton()->click();
        });
        showConnectionFailure(boxes);
        QCOMPARE(text, u"Ba\u011flant\u0131 Kurulam\u0131yor L\u00fctfen Tekrar Deneyin ...!"_s);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "shell_message_box_test.moc"
