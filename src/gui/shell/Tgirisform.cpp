#include "gui/shell/Tgirisform.h"

#include "core/inifile/RememberedLogin.h"
#include "core/records/TSonucBilgisi.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/RemoteWork.h"
#include "gui/shell/LoginPicture.h"
#include "gui/shell/LoginTexts.h"

#include <QBitmap>
#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

    // Both boxes hold upper case only, the Turkish way (i becomes İ, ı becomes I).
    class UpperCaseValidator : public QValidator
    {
    public:
        using QValidator::QValidator;
        State validate(QString &input, int &) const override
        {
            input = QLocale(QLocale::Turkish, QLocale::Turkey).toUpper(input);
            return Acceptable;
        }
    };

    bool isEnter(const QEvent *event)
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<const QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }

    QLabel *whiteLabel(const QString &text, QWidget *parent)
    {
        auto *label = new QLabel(text, parent);
        label->setStyleSheet(u"color: white; font-weight: bold; font-size: 14px; background: transparent;"_s);
        return label;
    }

} // namespace

struct Tgirisform::Fetch
{
    bool found = false;
    TSonucBilgisi record;
};

Tgirisform::Tgirisform(DataSnapConnection &bagim, TSonucBilgisi &Bilgim, LoginHost &host,
    const ShellEnvironment &env, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_bagim(bagim)
    , m_Bilgim(Bilgim)
    , m_host(host)
    , m_env(env)
    , m_picture(loginPicture())
{
    m_env.completeWithDefaults();
    setObjectName(u"girisform"_s);
    setWindowTitle(LoginTexts::caption());
    setFixedSize(kSize);
    setAttribute(Qt::WA_TranslucentBackground);
    // The see-through parts of the picture are outside the window, also without a compositor.
    setMask(m_picture.mask());

    m_adi = new QLineEdit(this);
    m_adi->setObjectName(u"adi"_s);
    m_sifre = new QLineEdit(this);
    m_sifre->setObjectName(u"sifre"_s);
    m_sifre->setEchoMode(QLineEdit::Password);
    for (QLineEdit *box : { m_adi, m_sifre }) {
        box->setValidator(new UpperCaseValidator(box));
        box->installEventFilter(this);
    }
    m_sifre->setStyleSheet(u"lineedit-password-character: 42;"_s);
    m_hatirla = new QCheckBox(LoginTexts::remember(), this);
    m_hatirla->setObjectName(u"hatirla"_s);
    m_hatirla->setChecked(true);
    QPalette light = m_hatirla->palette();
    light.setColor(QPalette::WindowText, Qt::white);
    m_hatirla->setPalette(light);
    QFont bold = m_hatirla->font();
    bold.setBold(true);
    m_hatirla->setFont(bold);
    m_giris = new QPushButton(LoginTexts::login(), this);
    m_giris->setObjectName(u"giris"_s);
    m_vazgec = new QPushButton(LoginTexts::cancel(), this);
    m_vazgec->setObjectName(u"vazgec"_s);
    for (QPushButton *b : { m_giris, m_vazgec }) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setCursor(Qt::PointingHandCursor);
    }
    m_busy = new BusyIndicator(50, this);
    m_busy->setObjectName(u"busy"_s);

    // Placed on the picture's input panel.
    QLabel *userLabel = whiteLabel(LoginTexts::userNameLabel(), this);
    QLabel *passwordLabel = whiteLabel(LoginTexts::passwordLabel(), this);
    userLabel->setGeometry(30, 326, 116, 30);
    m_adi->setGeometry(148, 326, 190, 30);
    passwordLabel->setGeometry(30, 374, 116, 30);
    m_sifre->setGeometry(148, 374, 190, 30);
    m_hatirla->setGeometry(148, 418, 190, 26);
    m_giris->setGeometry(148, 466, 92, 36);
    m_vazgec->setGeometry(246, 466, 92, 36);
    m_busy->move(52, 458);
    setStyleSheet(uR"(
QLineEdit { border: 1px solid #8fb3e0; border-radius: 4px; padding: 2px 6px; font-size: 15px; font-weight: bold; }
QPushButton { border: 1px solid #0d2c5c; border-radius: 5px; color: #0d2c5c; font-weight: bold; font-size: 14px;
              background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9dcf2); }
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #a9c8ee); }
QPushButton:disabled { color: #6f7f95; }
)"_s);

    setTabOrder(m_adi, m_vazgec);
    setTabOrder(m_vazgec, m_hatirla);
    setTabOrder(m_hatirla, m_sifre);
    setTabOrder(m_sifre, m_giris);

    m_addressStage = new BackgroundLoad(*m_env.messages, this);
    m_fetchStage = new BackgroundLoad(*m_env.messages, this);
    for (BackgroundLoad *stage : { m_addressStage, m_fetchStage })
        stage->setReportsFailure(false); // the decision shows its own messages

    connect(m_giris, &QPushButton::clicked, this, &Tgirisform::startAttempt);
    connect(m_vazgec, &QPushButton::clicked, this, &Tgirisform::endProcess);

    m_idsi = m_env.local.computerIdentity();
    loadRememberedLogin();
}

Tgirisform::~Tgirisform() = default;

void Tgirisform::loadRememberedLogin()
{
    const RememberedLogin login = readRememberedLogin(m_env.settingsPath);
    m_hatirla->setChecked(login.remember);
    if (login.remember) {
        m_adi->setText(login.userName);
        m_sifre->setText(login.password);
    }
}

bool Tgirisform::isAttemptRunning() const
{
    return m_attempting;
}

bool Tgirisform::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        if (watched == m_adi) {
            userNameEntered();
            return true;
        }
        if (watched == m_sifre) {
            passwordEntered();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tgirisform::userNameEntered()
{
    if (m_adi->text().trimmed().isEmpty()) {
        m_env.messages->errorBeep();
        showWarning(*m_env.messages, LoginTexts::enterUserName());
        m_adi->selectAll();
        m_adi->setFocus();
        return;
    }
    m_sifre->selectAll();
    m_sifre->setFocus();
}

void Tgirisform::passwordEntered()
{
    if (m_sifre->text().trimmed().isEmpty()) {
        m_env.messages->errorBeep();
        showWarning(*m_env.messages, LoginTexts::enterPassword());
        m_sifre->selectAll();
        m_sifre->setFocus();
        return;
    }
    startAttempt();
}

void Tgirisform::startAttempt()
{
    // One attempt at a time: Enter in the password box is ignored while one runs.
    if (m_attempting)
        return;
    m_attempting = true;
    m_giris->setText(LoginTexts::connecting());
    m_giris->setEnabled(false);
    m_busy->show();
    m_busy->raise();

    auto address = std::make_shared<QString>();
    m_addressStage->start(
        [address, host = m_env.portalHost] {
            *address = host;
            return true;
        },
        [this, address](bool) { addressDetermined(*address); });
}

void Tgirisform::addressDetermined(const QString &address)
{
    m_giris->setText(LoginTexts::loginAgain());
    if (address.trimmed().isEmpty()) {
        m_busy->hide();
        showError(*m_env.messages, LoginTexts::noAddress());
        backToIdle(false);
        return;
    }
    m_Bilgim.setDisip(address);
    m_bagim.setHostName(m_env.portalHost);

    // The fetch works on its own record; the shared one is written on the UI thread afterwards.
    auto fetch = std::make_shared<Fetch>();
    auto work = std::make_shared<RemoteWork>(m_bagim, m_env.openerPause);
    m_fetchStage->start(
        [fetch, work, local = m_env.local, idsi = m_idsi] {
            const bool opened = work->run([&](TServerMethods1Client &proxy) {
                const std::unique_ptr<TSonucBilgisi> record = proxy.BuyukGetir(idsi);
                if (record) {
                    fetch->record.Kopyala(*record);
                    fetch->found = true;
                }
            });
            if (!opened || !fetch->found)
                return false;
            fetch->record.setBilgiSayarAdi(local.computerName());
            fetch->record.setBilgisayarKullanici(local.userName());
            fetch->record.setIcip(local.ipv4Address());
            fetch->record.setBILGISAYARID(local.computerIdentity());
            fetch->record.setDisip(u"127.0.0.1"_s);
            return true;
        },
        [this, fetch](bool succeeded) {
            fetch->found = fetch->found && succeeded;
            decide(*fetch);
        });
}

void Tgirisform::decide(const Fetch &fetch)
{
    m_busy->hide();
    if (!fetch.found) {
        showError(*m_env.messages, LoginTexts::fetchFailed());
        backToIdle(true);
        return;
    }
    m_Bilgim.Kopyala(fetch.record);

    if (m_Bilgim.Version() != kProgramVersion) {
        // The update window installs the new version and ends the process; if it comes back,
        // the user stays at the login.
        m_host.openProgramUpdate(this, m_Bilgim.Version());
        backToIdle(false);
        return;
    }
    if (!m_Bilgim.Varmi()) {
        m_host.openNewAccountRequest(this);
        endProcess();
        return;
    }
    if (m_adi->text() != m_Bilgim.ADI() || m_sifre->text() != m_Bilgim.SIFRE()) {
        showWarning(*m_env.messages, LoginTexts::wrongCredentials());
        backToIdle(true);
        return;
    }

    // Remembered whether or not "Beni hatırla" is checked: the box only decides whether the
    // boxes are filled in next time.
    QString error;
    if (!writeRememberedLogin(
            m_env.settingsPath, { m_adi->text(), m_sifre->text(), m_hatirla->isChecked() }, &error))
        showWarning(*m_env.messages, LoginTexts::notSaved().arg(error));

    if (m_Bilgim.AKTIF() != 1) {
        showWarning(*m_env.messages, LoginTexts::wrongCredentials());
        backToIdle(true);
        return;
    }
    if (m_Bilgim.MusteriTipi() == 1 || m_Bilgim.MusteriTipi() == 2) {
        const std::optional<bool> chosen = m_host.selectCustomerAfterLogin(this);
        if (!chosen) {
            backToIdle(true);
            return;
        }
        if (!*chosen) {
            endProcess();
            return;
        }
    }
    m_attempting = false;
    accept();
    Q_EMIT attemptFinished();
}

void Tgirisform::backToIdle(bool focusUserName)
{
    m_attempting = false;
    m_giris->setEnabled(true);
    if (focusUserName) {
        m_adi->selectAll();
        m_adi->setFocus();
    }
    Q_EMIT attemptFinished();
}

void Tgirisform::endProcess()
{
    m_env.exitProcess(0);
    // Only reached when the exit is a test's stand-in.
    m_attempting = false;
    done(QDialog::Rejected);
    Q_EMIT attemptFinished();
}

void Tgirisform::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_adi->setFocus(Qt::OtherFocusReason);
}

void Tgirisform::keyPressEvent(QKeyEvent *event)
{
    // Escape would reject the dialog and so end the program; only "Vazgeç" and closing the
    // window do that.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tgirisform::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(0, 0, m_picture);
}

void Tgirisform::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void Tgirisform::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

} // namespace morvex
