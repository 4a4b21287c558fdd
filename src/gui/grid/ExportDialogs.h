#pragma once

#include <QString>

class QWidget;

namespace morvex {

// What "Excel Kaydet" asks of the user; tests answer it without a real dialog.
class ExportDialogs
{
public:
    virtual ~ExportDialogs() = default;
    // The chosen file name, or an empty string when the user cancels.
    virtual QString askSaveFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual void showError(QWidget *parent, const QString &title, const QString &message) = 0;
};

// The real dialogs: a save-file dialog and an error box.
class QtExportDialogs : public ExportDialogs
{
public:
    QString askSaveFileName(QWidget *parent, const QString &title, const QString &filter) override;
    void showError(QWidget *parent, const QString &title, const QString &message) override;
};

} // namespace morvex
