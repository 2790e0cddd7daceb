#pragma once

#include "platform/platformexport.h"

#include <QByteArray>
#include <QString>

#include <exception>

/// The suite's own exception: one message text, shown to the user as it stands.
///
/// It lives in the platform library, the lowest layer every program, library and module
/// shares, so that its type information exists once in the process and an exception
/// thrown in one library is caught by its type in another.
class TOVEL_PLATFORM_EXPORT TException : public std::exception
{
public:
    explicit TException(QString message);
    TException(const TException &other);
    TException &operator=(const TException &other);
    ~TException() override;

    const QString &Message() const noexcept { return m_message; }
    const char *what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};
