#pragma once

#include "gui/shell/ShellEnvironment.h"

#include <QDialog>
#include <QPixmap>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace morvex {

class BackgroundLoad;
class BusyIndicator;
class DataSnapConnection;
class TSonucBilgisi;

// The windows the login's decision may open, reached through the main window.
class LoginHost
{
public:
    virtual ~LoginHost() = default;
    // Each returns false when the window is not part of this build (an error box said so).
    virtual bool openProgramUpdate(QWidget *parent, int version) = 0;
    virtual bool openNewAccountRequest(QWidget *parent) = 0;
    // Empty when the window is not part of this build; otherwise whether an account was chosen.
    virtual std::optional<bool> selectCustomerAfterLogin(QWidget *parent) = 0;
};

// The login window. Asks the server for the session record registered to this computer,
// compares the typed user name and password with it, remembers them in ayar.ini and decides
// whether the program goes on. Accepted (QDialog::Accepted) after a successful login.
class Tgirisform : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize kSize { 368, 579 };

    Tgirisform(DataSnapConnection &bagim, TSonucBilgisi &Bilgim, LoginHost &host, const ShellEnvironment &env,
        QWidget *parent = nullptr);
    ~Tgirisform() override;

    QLineEdit *adi() const { return m_adi; }
    QLineEdit *sifre() const { return m_sifre; }
    QCheckBox *hatirla() const { return m_hatirla; }
    QPushButton *giris() const { return m_giris; }
    QPushButton *vazgec() const { return m_vazgec; }
    BusyIndicator *busy() const { return m_busy; }
    const QString &idsi() const { return m_idsi; }

    // The "Giriş" action. Ignored while an attempt runs.
    void startAttempt();
    bool isAttemptRunning() const;

Q_SIGNALS:
    // An attempt has come to rest: back to idle, accepted, or the process ended.
    void attemptFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Fetch;

    void loadRememberedLogin();
    void userNameEntered();
    void passwordEntered();
    void addressDetermined(const QString &address);
    void decide(const Fetch &fetch);
    void backToIdle(bool focusUserName);
    void endProcess();

    DataSnapConnection &m_bagim;
    TSonucBilgisi &m_Bilgim;
    LoginHost &m_host;
    ShellEnvironment m_env;
    QString m_idsi;
    QPixmap m_picture;
    QPoint m_dragOffset;

    QLineEdit *m_adi;
    QLineEdit *m_sifre;
    QCheckBox *m_hatirla;
    QPushButton *m_giris;
    QPushButton *m_vazgec;
    BusyIndicator *m_busy;
    BackgroundLoad *m_addressStage;
    BackgroundLoad *m_fetchStage;
    bool m_attempting = false;
};

} // namespace morvex
