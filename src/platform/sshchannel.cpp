#include "platform/sshchannel.h"

#include "platform/texception.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include <libssh/libssh.h>

#include <climits>

namespace {

QString SessionError(ssh_session session, const char *what)
{
    const QString reason = QString::fromLocal8Bit(ssh_get_error(session)).trimmed();
    return QString::fromLatin1(what) + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
}

QString Fingerprint(ssh_session session)
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session, &key) != SSH_OK)
        return QStringLiteral("unknown");
    unsigned char *hash = nullptr;
    size_t length = 0;
    QString text = QStringLiteral("unknown");
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == 0) {
        char *printable = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        text = QString::fromLatin1(printable);
        ssh_string_free_char(printable);
        ssh_clean_pubkey_hash(&hash);
    }
    ssh_key_free(key);
    return text;
}

} // namespace

struct TSshChannel::Private
{
    QString knownHostsFile;
    ssh_session session = nullptr;
    ssh_channel channel = nullptr;

    void Release()
    {
        if (channel) {
            ssh_channel_close(channel);
            ssh_channel_free(channel);
            channel = nullptr;
        }
        if (session) {
            ssh_disconnect(session);
            ssh_free(session);
            session = nullptr;
        }
    }

    [[noreturn]] void Fail(const QString &text)
    {
        Release();
        throw TException(text);
    }

    void VerifyHost(const QString &host, int port)
    {
        switch (ssh_session_is_known_server(session)) {
        case SSH_KNOWN_HOSTS_OK:
            return;
        case SSH_KNOWN_HOSTS_UNKNOWN:
        case SSH_KNOWN_HOSTS_NOT_FOUND:
            QDir().mkpath(QFileInfo(knownHostsFile).absolutePath());
            if (ssh_session_update_known_hosts(session) != SSH_OK)
                Fail(SessionError(session, "Unable to record the host key"));
            return;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            Fail(QStringLiteral("The host key of %1:%2 has changed (now %3); the connection was refused")
                     .arg(host)
                     .arg(port)
                     .arg(Fingerprint(session)));
        case SSH_KNOWN_HOSTS_ERROR:
            break;
        }
        Fail(SessionError(session, "Unable to check the host key"));
    }
};

TSshChannel::TSshChannel(QString knownHostsFile)
    : d(std::make_unique<Private>())
{
    d->knownHostsFile = std::move(knownHostsFile);
}

TSshChannel::~TSshChannel()
{
    d->Release();
}

void TSshChannel::Open(const QString &host, int port, const QString &user, const QString &password)
{
    d->Release();
    d->session = ssh_new();
    if (!d->session)
        throw TException(QStringLiteral("Unable to create an SSH session"));
    const QByteArray hostBytes = host.toUtf8();
    const QByteArray userBytes = user.toUtf8();
    const QByteArray knownHosts = QFile::encodeName(d->knownHostsFile);
    const unsigned int portNumber = static_cast<unsigned int>(port);
    const long connectTimeout = 30;
    const int noDelay = 1;
    ssh_options_set(d->session, SSH_OPTIONS_HOST, hostBytes.constData());
    ssh_options_set(d->session, SSH_OPTIONS_PORT, &portNumber);
    ssh_options_set(d->session, SSH_OPTIONS_USER, userBytes.constData());
    ssh_options_set(d->session, SSH_OPTIONS_TIMEOUT, &connectTimeout);
    ssh_options_set(d->session, SSH_OPTIONS_NODELAY, &noDelay);
    ssh_options_set(d->session, SSH_OPTIONS_KNOWNHOSTS, knownHosts.constData());
    // Only our own file decides which keys are trusted.
    ssh_options_set(d->session, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, knownHosts.constData());

    if (ssh_connect(d->session) != SSH_OK)
        d->Fail(SessionError(d->session, "Unable to connect"));
    d->VerifyHost(host, port);
    if (ssh_userauth_password(d->session, nullptr, password.toUtf8().constData()) != SSH_AUTH_SUCCESS)
        d->Fail(SessionError(d->session, "Authentication failed"));
    d->channel = ssh_channel_new(d->session);
    if (!d->channel || ssh_channel_open_session(d->channel) != SSH_OK)
        d->Fail(SessionError(d->session, "Unable to open a channel"));
    if (ssh_channel_request_subsystem(d->channel, "sftp") != SSH_OK)
        d->Fail(SessionError(d->session, "The server refused the sftp subsystem"));
}

void TSshChannel::Write(const QByteArray &bytes)
{
    if (!d->channel)
        throw TException(QStringLiteral("Not connected"));
    qsizetype written = 0;
    while (written < bytes.size()) {
        const int n = ssh_channel_write(d->channel, bytes.constData() + written,
                                        static_cast<uint32_t>(bytes.size() - written));
        if (n == SSH_ERROR)
            throw TException(SessionError(d->session, "Unable to send"));
        written += n;
    }
}

qsizetype TSshChannel::Read(char *buffer, qsizetype capacity, int timeoutMs)
{
    if (!d->channel)
        throw TException(QStringLiteral("Not connected"));
    // libssh widens the channel's window to the count asked for, so a large piece lets
    // the server keep sending while earlier replies are still being handled.
    const auto count = static_cast<uint32_t>(qMin<qsizetype>(capacity, INT_MAX));
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const int wait = static_cast<int>(qMax<qint64>(1, deadline.remainingTime()));
        const int n = ssh_channel_read_timeout(d->channel, buffer, count, 0, wait);
        if (n == SSH_ERROR)
            throw TException(SessionError(d->session, "Unable to receive"));
        if (n > 0)
            return n;
        if (ssh_channel_is_eof(d->channel))
            throw TException(QStringLiteral("Connection closed by the server"));
        if (deadline.hasExpired())
            throw TException(QStringLiteral("Timeout"));
    }
}

void TSshChannel::Close()
{
    d->Release();
}

bool TSshChannel::IsOpen() const
{
    return d->channel != nullptr;
}
