#pragma once

#include "platform/platformexport.h"

#include <QString>

#include <memory>

class QLockFile;

namespace Platform {

/// A mutex that other processes of the same user can see by name: a lock file
/// "<name>.lock" in the user's runtime folder ("<name>-<session>.lock" when TOVEL_SESSION
/// is set, so that separate runs, such as test programs side by side, hold separate mutexes
/// as they have separate window sockets). A lock left behind by a process that died is
/// recovered.
class TOVEL_PLATFORM_EXPORT TNamedMutex
{
public:
    explicit TNamedMutex(const QString &name);
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex &) = delete;
    TNamedMutex &operator=(const TNamedMutex &) = delete;

    /// Takes ownership unless another holder has it; true when owned afterwards.
    bool TryAcquire();
    void Release();
    QString FileName() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_fileName;
};

} // namespace Platform
