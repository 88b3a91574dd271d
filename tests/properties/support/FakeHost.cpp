#include "FakeHost.h"

#include "CmdButton.h"

FakeHost::FakeHost(QWidget *window) : m_cmdTO(new lorvane::CmdButton(window))
{
    m_cmdTO->setObjectName(QStringLiteral("cmdTO"));
    m_cmdTO->InitProperties(QStringLiteral("cmdTO"));
    m_cmdTO->resize(97, 25);
}

lorvane::CommonDialog::Answer ScriptedDialog::reply(bool save)
{
    shown.append({save, DialogTitle(), Filter(), FileName()});
    if (replies.isEmpty())
        return Answer::Cancelled;
    const Reply r = replies.takeFirst();
    if (r.answer == Answer::Accepted)
        setFileName(r.fileName);
    return r.answer;
}
