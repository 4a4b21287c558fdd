#include "gui/common/ShellTab.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace morvex {

ShellTab::ShellTab(ShellContext &shell, MainTab id, QWidget *parent)
    : QWidget(parent)
    , m_shell(shell)
    , m_id(id)
{
}

PlaceholderTab::PlaceholderTab(ShellContext &shell, MainTab id, QString caption, QWidget *parent)
    : ShellTab(shell, id, parent)
    , m_caption(std::move(caption))
{
    auto *layout = new QVBoxLayout(this);
    QString title = m_caption;
    title.replace(u"\r\n"_s, u" "_s);
    auto *label = new QLabel(
        title + u"\n\nBu b\u00f6l\u00fcm hen\u00fcz haz\u0131r de\u011fil (not built yet)."_s, this);
    label->setObjectName(u"placeholderLabel"_s);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(u"color: #6a7f99; font-size: 18px;"_s);
    layout->addWidget(label);
}

void PlaceholderTab::applyRole(const UserRole &role)
{
    m_role = role;
}

} // namespace morvex
