#pragma once

#include "testsupport.h"
#include "updater/skyrunlib.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utime.h>

/// A test that serves files from a folder of its own on the loopback FTP server that
/// scripts/test starts: named after the test, emptied first. Skipped when no FTP server
/// was started.
class ServedFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString root = qEnvironmentVariable("TOVEL_FTP_ROOT");
        if (qEnvironmentVariable("TOVEL_FTP_PORT").isEmpty() || root.isEmpty())
            GTEST_SKIP() << "no FTP server was started for this run";
        m_name = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_served = root + QLatin1Char('/') + m_name;
        QDir(m_served).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_served));
    }

    /// Serves `bytes` as `name` (which may lie in a subfolder), with the time `modified`
    /// when it is valid.
    void Serve(const QString &name, const QByteArray &bytes, const QDateTime &modified = {}) const
    {
        const QString path = m_served + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteFileBytes(path, bytes);
        if (modified.isValid()) {
            const utimbuf times{modified.toSecsSinceEpoch(), modified.toSecsSinceEpoch()};
            ::utime(QFile::encodeName(path).constData(), &times);
        }
    }

    QString m_name;
    QString m_served;
};

/// A served folder and a program folder whose skyrun.ini points at it through FTP.
class ProgramFolderTest : public ServedFolderTest
{
protected:
    void SetUp() override
    {
        ServedFolderTest::SetUp();
        if (IsSkipped())
            return;
        m_folder = m_program.path() + QLatin1Char('/');
        Settings(QLatin1Char('/') + m_name);
    }

    /// Settings for the run's FTP server with the path list `path`, on `port` when given,
    /// trusting the release key `publicKey` when given.
    void Settings(const QString &path, const QString &port = {}, const QString &publicKey = {}) const
    {
        WriteServerInfo({qEnvironmentVariable("TOVEL_FTP_HOST"),
                         port.isEmpty() ? qEnvironmentVariable("TOVEL_FTP_PORT") : port, true, path,
                         QStringLiteral("tovel"), qEnvironmentVariable("TOVEL_FTP_PASSWORD"), QStringLiteral("FTP"),
                         publicKey},
                        m_folder);
    }

    QTemporaryDir m_program;
    QString m_folder;
};
