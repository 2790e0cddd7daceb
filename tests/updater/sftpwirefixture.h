#pragma once

#include "fakesftpserver.h"
#include "updater/sftp/simplesftp.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

inline QByteArray RandomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(generator.generate() & 0xFF);
    return bytes;
}

/// A client talking to the in-process fake server.
class SftpWireTest : public ::testing::Test
{
protected:
    SftpWireTest()
    {
        auto server = std::make_unique<FakeSftpServer>();
        m_server = server.get();
        m_sftp = std::make_unique<TSimpleSFTP>(std::move(server));
    }

    void Connect() { m_sftp->Connect(QStringLiteral("host"), QStringLiteral("22"), QStringLiteral("u"), QStringLiteral("p")); }
    QString Local(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    int Reads() const { return static_cast<int>(m_server->RequestTypes.count(5)); }

    QTemporaryDir m_dir;
    FakeSftpServer *m_server;
    std::unique_ptr<TSimpleSFTP> m_sftp;
};
