#include "platform/namedmutex.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace Platform {

TNamedMutex::TNamedMutex(const QString &name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    const QString session = qEnvironmentVariable("TOVEL_SESSION");
    m_fileName = QDir(folder).filePath(name + (session.isEmpty() ? QString() : QLatin1Char('-') + session)
                                       + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(m_fileName);
    m_lock->setStaleLockTime(0); // stale only when its process is gone
}

TNamedMutex::~TNamedMutex() = default;

bool TNamedMutex::TryAcquire()
{
    if (m_lock->isLocked())
        return true;
    return m_lock->tryLock(0);
}

void TNamedMutex::Release()
{
    m_lock->unlock();
}

QString TNamedMutex::FileName() const
{
    return m_fileName;
}

} // namespace Platform
