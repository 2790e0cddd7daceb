#pragma once

#include "platform/sftpchannel.h"

#include <memory>

/// The "sftp" subsystem channel of an SSH-2 session (libssh): TCP without Nagle's delay,
/// key exchange, password authentication. Host keys are trusted on first use: the first
/// connection to a host and port records the server's key in `knownHostsFile`; a later
/// connection that meets another key is refused, naming host and fingerprint.
class TSshChannel : public TSftpChannel
{
public:
    explicit TSshChannel(QString knownHostsFile);
    ~TSshChannel() override;

    void Open(const QString &host, int port, const QString &user, const QString &password) override;
    void Write(const QByteArray &bytes) override;
    qsizetype Read(char *buffer, qsizetype capacity, int timeoutMs) override;
    void Close() override;
    bool IsOpen() const override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
