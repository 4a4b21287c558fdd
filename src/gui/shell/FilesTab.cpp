#include "gui/shell/FilesTab.h"

namespace morvex {

FilesTab::FilesTab(ShellContext &shell, QWidget *parent)
    : PlaceholderTab(shell, MainTab::Dosyalar, QStringLiteral("Dosyalar"), parent)
{
}

} // namespace morvex
