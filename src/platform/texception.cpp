#include "platform/texception.h"

namespace {

// A text that stays readable after the library that made it is unloaded: a literal of
// that library would otherwise be referenced, not copied.
QString DeepCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

} // namespace

TException::TException(QString message)
    : m_message(DeepCopy(message))
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
