#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

/// The suite's own exception: one message text, shown to the user as it stands.
class TException : public std::exception
{
public:
    explicit TException(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    const QString &Message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
