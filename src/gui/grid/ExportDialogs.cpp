#include "gui/grid/ExportDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace morvex {

using namespace Qt::StringLiterals;

QString QtExportDialogs::askSaveFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

void QtExportDialogs::showError(QWidget *parent, const QString &title, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, title, message, QMessageBox::NoButton, parent);
    box.addButton(u"Tamam"_s, QMessageBox::AcceptRole);
    box.exec();
}

} // namespace morvex
