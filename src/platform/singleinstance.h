#pragma once

#include "platform/platformexport.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace Platform {

/// Makes a top-level window findable by its caption: another process can ask it to
/// come to the front and to restore itself when it is minimised.
class TOVEL_PLATFORM_EXPORT TWindowActivationServer : public QObject
{
    Q_OBJECT
public:
    TWindowActivationServer(QWidget *window, const QString &caption);
    ~TWindowActivationServer() override;

    bool IsListening() const;

signals:
    /// Emitted after the window was raised on another process's request.
    void Raised();

private:
    void ServeConnection();

    QWidget *m_window;
    QLocalServer *m_server;
};

/// Whether a window with this caption is open (in this user's session).
TOVEL_PLATFORM_EXPORT bool WindowExists(const QString &caption);

/// Asks the window with this caption to come to the front and restore itself; true when
/// it answered.
TOVEL_PLATFORM_EXPORT bool RaiseWindow(const QString &caption);

/// The local socket name under which a window with this caption listens (per user, and
/// per TOVEL_SESSION when that is set).
TOVEL_PLATFORM_EXPORT QString WindowSocketName(const QString &caption);

} // namespace Platform
