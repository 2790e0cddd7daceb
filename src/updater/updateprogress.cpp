#include "updater/updateprogress.h"

TUpdateProgress::~TUpdateProgress() = default;

void TSilentProgress::AddMessage(const QString &text)
{
    m_messages.append(text);
}

QStringList TSilentProgress::Messages() const
{
    return m_messages;
}
