#pragma once

#include "gui/common/ShellTab.h"

namespace morvex {

// Tab "Dosyalar": downloadable documents, loaded in the background once.
class FilesTab : public PlaceholderTab
{
    Q_OBJECT
public:
    explicit FilesTab(ShellContext &shell, QWidget *parent = nullptr);
};

} // namespace morvex
