#include "platform/programfolder.h"

#include <QFileInfo>

namespace Platform {

QString WithTrailingSlash(const QString &folder)
{
    QString result = folder;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("TOVEL_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return WithTrailingSlash(overridden);
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return WithTrailingSlash(QFileInfo(exe.symLinkTarget()).absolutePath());
}

} // namespace Platform
