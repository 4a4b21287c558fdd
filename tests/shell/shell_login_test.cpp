#include "ShellTestSupport.h"

#include "core/inifile/IniFile.h"
#include "core/records/TSonucBilgisi.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/common/BusyIndicator.h"
#include "gui/shell/Tgirisform.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

const QString kWrong
    = u"Kullan\u0131c\u0131 Ad\u0131 ve \u015eifre Hatal\u0131 L\u00fctfen Tekrar Deneyiniz !"_s;
const QString kFetchFailed = u"Ba\u011flant\u0131 Kurulamad\u0131 !"_s;

struct HostStub : LoginHost
{
    QList<int> updates;
    int requests = 0;
    int selections = 0;
    std::optional<bool> selectionAnswer = true;
    bool openProgramUpdate(QWidget *, int version) override
    {
        updates.append(version);
        return true;
    }
    bool openNewAccountRequest(QWidget *) override
    {
        ++requests;
        return true;
    }
    std::optional<bool> selectCustomerAfterLogin(QWidget *) override
    {
        ++selections;
        return selectionAnswer;
    }
};

// Types one character at a time (QTest::keyClicks cannot send Turkish letters).
void type(QWidget *box, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

struct Login
{
    TestEnvironment t;
    DataSnapConnection bagc;
    TSonucBilgisi bilgi;
    HostStub host;
    std::unique_ptr<Tgirisform> form;

    void open(const QString &identity, const QString &host = u"127.0.0.1"_s, const QString &port = u"9"_s,
        const QString &settingsPath = {})
    {
        t.identity = identity;
        bagc.setPort(port);
        ShellEnvironment env = t.make(host, port);
        if (!settingsPath.isEmpty())
            env.settingsPath = settingsPath;
        form = std::make_unique<Tgirisform>(bagc, bilgi, this->host, env);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void enter(const QString &adi, const QString &sifre)
    {
        form->adi()->clear();
        form->sifre()->clear();
        type(form->adi(), adi);
        type(form->sifre(), sifre);
    }
    // Presses Enter in the password box and waits for the attempt to come to rest.
    bool attempt()
    {
        QSignalSpy finished(form.get(), &Tgirisform::attemptFinished);
        QTest::keyClick(form->sifre(), Qt::Key_Return);
        return finished.wait(30000);
    }
};

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

    ReferenceServer m_server;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(ReferenceServer::program()), "morvex-server is built with the tests");
        QVERIFY(!ReferenceServer::machineIdentity().isEmpty());
        QVERIFY(m_server.create());
        const std::pair<QString, QString> bindings[] = {
            { u"KIMLIK-PASIF"_s, u"PASIF"_s },
            { u"KIMLIK-ESKI"_s, u"ESKI"_s },
            { u"KIMLIK-PERSONEL1"_s, u"PERSONEL1"_s },
            { u"KIMLIK-PERSONEL2"_s, u"PERSONEL2"_s },
            { u"KIMLIK-BOLGE"_s, u"BOLGE"_s },
            { u"KIMLIK-BAYI4"_s, u"BAYI4"_s },
        };
        for (const auto &[identity, user] : bindings)
            QVERIFY(m_server.bind(identity, user));
        QVERIFY(m_server.start());
    }
    void cleanupTestCase() { m_server.stop(); }

    void windowLayout()
    {
        Login l;
        l.open(u"X"_s);
        Tgirisform &f = *l.form;
        QCOMPARE(f.windowTitle(), u"Giri\u015f"_s);
        QCOMPARE(f.size(), QSize(368, 579));
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!f.parentWidget());
        QCOMPARE(f.giris()->text(), u"Giri\u015f"_s);
        QCOMPARE(f.vazgec()->text(), u"Vazge\u00e7"_s);
        QCOMPARE(f.hatirla()->text(), u"Beni hat\u0131rla"_s);
        QVERIFY(f.hatirla()->isChecked()); // no ayar.ini yet
        QVERIFY(f.adi()->text().isEmpty());
        QCOMPARE(f.sifre()->echoMode(), QLineEdit::Password);
        QVERIFY(!f.busy()->isVisible());
        QCOMPARE(f.busy()->size(), QSize(50, 50));
        QCOMPARE(QApplication::focusWidget(), f.adi());
        // The outline comes from the picture: its corners are outside the window.
        QVERIFY(!f.mask().contains(QPoint(1, 1)));
        QVERIFY(f.mask().contains(QPoint(184, 290)));

        // Tab order: user name, "Vazgeç", "Beni hatırla", password, "Giriş".
        QList<QWidget *> order;
        QWidget *w = f.adi();
        for (int i = 0; i < 5; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
            order.append(w);
        }
        QCOMPARE(order, (QList<QWidget *> { f.adi(), f.vazgec(), f.hatirla(), f.sifre(), f.giris() }));

        // Upper-case input, the Turkish way.
        type(f.adi(), u"bay\u0131 i\u015f"_s);
        QCOMPARE(f.adi()->text(), u"BAYI \u0130\u015e"_s);
    }

    void enterKeysCheckForEmptyBoxes()
    {
        Login l;
        l.open(u"X"_s);
        Tgirisform &f = *l.form;
        type(f.adi(), u"  "_s);
        QTest::keyClick(f.adi(), Qt::Key_Return);
        QCOMPARE(l.t.boxes.beeps, 1);
        QCOMPARE(l.t.boxes.texts(),
            QStringList { u"L\u00fctfen kullan\u0131c\u0131 ad\u0131n\u0131 giriniz !"_s });
        QCOMPARE(l.t.boxes.shown[0].kind, MessageKind::Warning);
        QCOMPARE(QApplication::focusWidget(), f.adi());
        QCOMPARE(f.adi()->selectedText(), u"  "_s);

        type(f.adi(), u"AL\u0130"_s);
        type(f.sifre(), u"S"_s);
        QTest::keyClick(f.adi(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.sifre());
        QCOMPARE(f.sifre()->selectedText(), u"S"_s);

        f.sifre()->setText(u" "_s);
        QTest::keyClick(f.sifre(), Qt::Key_Return);
        QCOMPARE(l.t.boxes.beeps, 2);
        QCOMPARE(l.t.boxes.texts().last(), u"L\u00fctfen kullan\u0131c\u0131 \u015fifresini giriniz !"_s);
        QCOMPARE(QApplication::focusWidget(), f.sifre());
        QVERIFY(!f.isAttemptRunning());
        QCOMPARE(f.giris()->text(), u"Giri\u015f"_s);
    }

    void vazgecEndsTheProcess()
    {
        Login l;
        l.open(u"X"_s);
        QTest::mouseClick(l.form->vazgec(), Qt::LeftButton);
        QCOMPARE(l.t.exits.codes, QList<int> { 0 });
        QVERIFY(l.form->result() != QDialog::Accepted);
    }

    void noAddressStopsBeforeTheServer()
    {
        Login l;
        l.open(u"X"_s, u"  "_s);
        l.enter(u"A"_s, u"B"_s);
        QVERIFY(l.attempt());
        QCOMPARE(l.t.boxes.texts(),
            QStringList { u"Ba\u011flant\u0131 Kurulam\u0131yor L\u00fctfen Tekrar Deneyiniz !"_s });
        QCOMPARE(l.t.boxes.shown[0].kind, MessageKind::Error);
        QVERIFY(l.form->giris()->isEnabled());
        QCOMPARE(l.form->giris()->text(), u"Giri\u015f!"_s);
        QVERIFY(!l.form->busy()->isVisible());
        QCOMPARE(l.t.pauses->load(), 0);
    }

    // A dead server: the opener's 11 attempts, then "Bağlantı Kurulamadı !"; a second Enter while
    // the attempt runs starts nothing.
    void deadServerAndOneAttemptAtATime()
    {
        Login l;
        l.open(u"X"_s, u"127.0.0.1"_s, deadPort());
        l.enter(u"BAYI0"_s, u"1234"_s);
        QSignalSpy finished(l.form.get(), &Tgirisform::attemptFinished);
        QTest::keyClick(l.form->sifre(), Qt::Key_Return);
        QVERIFY(l.form->isAttemptRunning());
        QVERIFY(!l.form->giris()->isEnabled());
        QVERIFY(l.form->busy()->isVisible());
        QTest::keyClick(l.form->sifre(), Qt::Key_Return);
        l.form->startAttempt();
        QVERIFY(finished.wait(30000));
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(l.t.pauses->load(), 11);
        QCOMPARE(l.t.boxes.texts(), QStringList { kFetchFailed });
        QCOMPARE(l.t.boxes.shown[0].kind, MessageKind::Error);
        QCOMPARE(l.form->giris()->text(), u"Giri\u015f!"_s);
        QVERIFY(l.form->giris()->isEnabled());
        QVERIFY(!l.form->busy()->isVisible());
        QCOMPARE(QApplication::focusWidget(), l.form->adi());
        QCOMPARE(l.bilgi.ADI(), QString()); // nothing half-filled
        QVERIFY(!QFile::exists(l.t.dir.filePath(u"ayar.ini"_s)));
    }

    // The decision against the reference server, in its order: version, registration, the
    // comparison, the saved credentials, the active mark, the staff customer selection.
    void decision_data()
    {
        QTest::addColumn<QString>("identity"); // empty: this machine's own (BAYI0)
        QTest::addColumn<QString>("adi");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<int>("selectionAnswer"); // -1 missing window, 0 no, 1 yes
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("saved");

        QTest::newRow("dealer") << QString() << u"BAYI0"_s << u"1234"_s << 1 << u"accepted"_s << true;
        QTest::newRow("wrong password") << QString() << u"BAYI0"_s << u"12345"_s << 1 << u"wrong"_s << false;
        QTest::newRow("blank before the name")
            << QString() << u" BAYI0"_s << u"1234"_s << 1 << u"wrong"_s << false;
        QTest::newRow("inactive, credentials saved")
            << u"KIMLIK-PASIF"_s << u"PASIF"_s << u"1234"_s << 1 << u"wrong"_s << true;
        QTest::newRow("version 16 before the password")
            << u"KIMLIK-ESKI"_s << u"ESKI"_s << u"YANLIS"_s << 1 << u"update"_s << false;
        QTest::newRow("unregistered computer")
            << u"KIMLIK-YOK"_s << u"BAYI0"_s << u"1234"_s << 1 << u"request"_s << false;
        QTest::newRow("staff type 1 chooses")
            << u"KIMLIK-PERSONEL1"_s << u"PERSONEL1"_s << u"1234"_s << 1 << u"accepted, selection"_s << true;
        QTest::newRow("staff type 2 declines")
            << u"KIMLIK-PERSONEL2"_s << u"PERSONEL2"_s << u"1234"_s << 0 << u"ended, selection"_s << true;
        QTest::newRow("staff, selection window missing")
            << u"KIMLIK-PERSONEL1"_s << u"PERSONEL1"_s << u"1234"_s << -1 << u"idle, selection"_s << true;
        QTest::newRow("BDM code, type 3: no selection")
            << u"KIMLIK-BOLGE"_s << u"BOLGE"_s << u"1234"_s << 1 << u"accepted"_s << true;
    }
    void decision()
    {
        QFETCH(QString, identity);
        QFETCH(QString, adi);
        QFETCH(QString, sifre);
        QFETCH(int, selectionAnswer);
        QFETCH(QString, outcome);
        QFETCH(bool, saved);

        Login l;
        l.host.selectionAnswer
            = selectionAnswer < 0 ? std::nullopt : std::optional<bool>(selectionAnswer == 1);
        const QString id = identity.isEmpty() ? ReferenceServer::machineIdentity() : identity;
        l.open(id, u"127.0.0.1"_s, m_server.port());
        l.enter(adi, sifre);
        QVERIFY(l.attempt());

        const bool selectionAsked = outcome.endsWith(u", selection"_s);
        QCOMPARE(l.host.selections, selectionAsked ? 1 : 0);
        QCOMPARE(QFile::exists(l.t.dir.filePath(u"ayar.ini"_s)), saved);
        QCOMPARE(l.t.pauses->load(), 0);
        if (outcome.startsWith(u"accepted"_s)) {
            QCOMPARE(l.form->result(), int(QDialog::Accepted));
            QVERIFY(l.t.boxes.shown.isEmpty());
            QCOMPARE(l.bilgi.ADI(), adi);
            QVERIFY(l.bilgi.CARINO() > 0);
            QCOMPARE(l.bilgi.Disip(), u"127.0.0.1"_s);
            QCOMPARE(l.bilgi.BILGISAYARID(), id);
            QCOMPARE(l.bilgi.BilgiSayarAdi(), u"BILGISAYAR1"_s);
            QCOMPARE(l.bilgi.BilgisayarKullanici(), u"kullanici1"_s);
            QCOMPARE(l.bilgi.Icip(), u"10.0.0.5"_s);
            QCOMPARE(l.bagc.hostName(), u"127.0.0.1"_s);
            QVERIFY(l.t.exits.codes.isEmpty());
        } else if (outcome == u"wrong"_s || outcome.startsWith(u"idle"_s)) {
            if (outcome == u"wrong"_s)
                QCOMPARE(l.t.boxes.texts(), QStringList { kWrong });
            QCOMPARE(l.form->giris()->text(), u"Giri\u015f!"_s);
            QVERIFY(l.form->giris()->isEnabled());
            QVERIFY(l.form->isVisible());
            QCOMPARE(QApplication::focusWidget(), l.form->adi());
            QVERIFY(l.t.exits.codes.isEmpty());
        } else if (outcome == u"update"_s) {
            QCOMPARE(l.host.updates, QList<int> { 16 });
            QVERIFY(l.t.boxes.shown.isEmpty());
            QVERIFY(l.t.exits.codes.isEmpty());
        } else if (outcome == u"request"_s) {
            QCOMPARE(l.host.requests, 1);
            QCOMPARE(l.t.exits.codes, QList<int> { 0 });
            QVERIFY(!l.bilgi.Varmi());
        } else if (outcome.startsWith(u"ended"_s)) {
            QCOMPARE(l.t.exits.codes, QList<int> { 0 });
        } else {
            QFAIL("unknown outcome");
        }
        if (outcome != u"update"_s)
            QVERIFY(l.host.updates.isEmpty());
        if (saved) {
            IniFile ini;
            QVERIFY(ini.load(l.t.dir.filePath(u"ayar.ini"_s)));
            QCOMPARE(ini.value(u"kullanici", u"isim"), adi);
            QCOMPARE(ini.value(u"kullanici", u"sifre"), sifre);
            QCOMPARE(ini.value(u"kullanici", u"hat\u0131rla"), u"1"_s);
        }
    }

    // "Beni hatırla" off: the credentials are still written, but next time only the check box
    // comes back; with it on, both boxes are filled.
    void rememberedCredentialsNextTime()
    {
        QTemporaryDir shared;
        const QString ayar = shared.filePath(u"ayar.ini"_s);
        for (const bool remember : { false, true }) {
            Login l;
            l.open(ReferenceServer::machineIdentity(), u"127.0.0.1"_s, m_server.port(), ayar);
            l.enter(u"BAYI0"_s, u"1234"_s);
            l.form->hatirla()->setChecked(remember);
            QVERIFY(l.attempt());
            QCOMPARE(l.form->result(), int(QDialog::Accepted));

            Login next;
            next.open(ReferenceServer::machineIdentity(), u"127.0.0.1"_s, m_server.port(), ayar);
            QCOMPARE(next.form->hatirla()->isChecked(), remember);
            QCOMPARE(next.form->adi()->text(), remember ? u"BAYI0"_s : QString());
            QCOMPARE(next.form->sifre()->text(), remember ? u"1234"_s : QString());
        }
    }
};

QTEST_MAIN(LoginTest)
#include "shell_login_test.moc"
