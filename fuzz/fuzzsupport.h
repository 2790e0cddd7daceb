#pragma once

// What every fuzz target shares: the input as Qt bytes, a scratch folder of the run, and a
// property check that ends the run with a message when it fails.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline QByteArray FuzzBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// In memory where the system offers it: the targets that write files then run at the
// speed of their parsing, not of the disk's flushes.
inline QString FuzzScratchPath()
{
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/tovel-fuzz-%1").arg(QCoreApplication::applicationPid());
}

/// A folder of this process for files a target needs, made on first use and removed when
/// the run ends.
inline QString FuzzScratch()
{
    static const QString folder = [] {
        const QString path = FuzzScratchPath();
        QDir().mkpath(path);
        std::atexit([] { QDir(FuzzScratchPath()).removeRecursively(); });
        return path;
    }();
    return folder;
}

/// A property of the parser that must hold for every input.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)
