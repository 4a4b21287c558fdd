#pragma once

#include "core/local/RetryingOpener.h"

#include <QDate>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

namespace morvex {

class DataSnapConnection;
class MessageBoxes;
class StartupNotices;
class TForm1;
class TSonucBilgisi;

// The program version the server is asked to expect; any other makes the login start an update.
inline constexpr int kProgramVersion = 15;

// What the computer says about itself (the session record's local part). Each may be called
// from a worker thread.
struct LocalInfo
{
    std::function<QString()> computerIdentity;
    std::function<QString()> computerName;
    std::function<QString()> userName;
    std::function<QString()> ipv4Address;
};

// Windows that other parts of the program provide. An empty slot means the window is not part
// of this build yet; the shell then says so in an error box and goes no further.
struct ShellWindows
{
    // Program update (Tdosyaindir): installs `version` and ends the process.
    std::function<void(QWidget *parent, int version, DataSnapConnection &bagc)> programUpdate;
    // Account request form (Tkullanicikayit) in its new-account and password-change modes.
    std::function<void(QWidget *parent, TSonucBilgisi &session, DataSnapConnection &bagc)> newAccountRequest;
    std::function<void(QWidget *parent, TSonucBilgisi &session, DataSnapConnection &bagc)>
        passwordChangeRequest;
    // Customer selection (Tseccari): true when it closed with a chosen account. `afterLogin`
    // is true when the login opens it (the choice is then mandatory).
    std::function<bool(QWidget *parent, DataSnapConnection &bagc, TSonucBilgisi &session, bool afterLogin)>
        customerSelection;
    // Mail to the distributor (Tmailform).
    std::function<void(QWidget *parent, TSonucBilgisi &session, DataSnapConnection &bagc)> mail;
    // The start-up notices, made for the main window once it exists.
    std::function<std::unique_ptr<StartupNotices>(TForm1 &mainWindow)> startupNotices;
};

// Everything the shell takes from outside. Tests replace the clock, the message boxes, the
// process exit, the opener's pause and the settings file.
struct ShellEnvironment
{
    MessageBoxes *messages = nullptr; // not owned; the application's real boxes when null
    // Ends the process at once. The application's version flushes output and exits without
    // running destructors (workers may still be running).
    std::function<void(int exitCode)> exitProcess;
    std::function<QDate()> today;
    PauseFunction openerPause; // empty: the opener's real 500 ms pause
    QString portalHost;
    QString portalPort = QStringLiteral("9090");
    QString webSiteHost = QStringLiteral("www.orvex.com.tr");
    QUrl webSiteUrl = QUrl(QStringLiteral("http://www.orvex.com.tr/"));
    std::function<void(const QUrl &)> openUrl;
    QString settingsPath; // ayar.ini; empty: the per-user data folder's ayar.ini
    LocalInfo local;
    ShellWindows windows;

    // Fills every empty member with the application's real implementation.
    void completeWithDefaults();
};

} // namespace morvex
