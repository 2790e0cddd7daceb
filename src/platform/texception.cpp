#include "platform/texception.h"

#include "platform/handles.h"

TException::TException(QString message)
    : m_message(Platform::OwnedCopy(message))
    , m_utf8(m_message.toUtf8())
{
}

TException::TException(const TException &other) = default;
TException &TException::operator=(const TException &other) = default;
TException::~TException() = default;

const char *TException::what() const noexcept
{
    return m_utf8.constData();
}
