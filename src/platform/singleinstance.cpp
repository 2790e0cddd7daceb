#include "platform/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

namespace Platform {
namespace {

const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
const QByteArray RaisedReply = QByteArrayLiteral("raised\n");
constexpr int TimeoutMs = 2000;

} // namespace

QString WindowSocketName(const QString &caption)
{
    // One name per user and caption; the caption is hex-encoded so that any text makes a
    // valid socket file name. TOVEL_SESSION, when set, keeps separate runs (test programs
    // running side by side) from finding each other's windows.
    const QString session = qEnvironmentVariable("TOVEL_SESSION");
    return QStringLiteral("tovel-%1-%2%3")
        .arg(::getuid())
        .arg(QString::fromLatin1(caption.toUtf8().toHex()), session.isEmpty() ? QString() : QLatin1Char('-') + session);
}

TWindowActivationServer::TWindowActivationServer(QWidget *window, const QString &caption)
    : QObject(window)
    , m_window(window)
    , m_server(new QLocalServer(this))
{
    const QString name = WindowSocketName(caption);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        // A socket left behind by a program that ended abnormally.
        QLocalServer::removeServer(name);
        m_server->listen(name);
    }
    connect(m_server, &QLocalServer::newConnection, this, &TWindowActivationServer::ServeConnection);
}

TWindowActivationServer::~TWindowActivationServer() = default;

bool TWindowActivationServer::IsListening() const
{
    return m_server->isListening();
}

void TWindowActivationServer::ServeConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() != RaiseRequest) {
                socket->disconnectFromServer();
                return;
            }
            if (m_window->isMinimized())
                m_window->showNormal();
            m_window->show();
            m_window->raise();
            m_window->activateWindow();
            socket->write(RaisedReply);
            socket->flush();
            emit Raised();
        });
    }
}

bool WindowExists(const QString &caption)
{
    QLocalSocket socket;
    socket.connectToServer(WindowSocketName(caption));
    return socket.waitForConnected(TimeoutMs);
}

bool RaiseWindow(const QString &caption)
{
    QLocalSocket socket;
    socket.connectToServer(WindowSocketName(caption));
    if (!socket.waitForConnected(TimeoutMs))
        return false;
    socket.write(RaiseRequest);
    if (!socket.waitForBytesWritten(TimeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(TimeoutMs))
            return false;
    }
    return socket.readLine() == RaisedReply;
}

} // namespace Platform
