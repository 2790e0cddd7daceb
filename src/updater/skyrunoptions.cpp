#include "updater/skyrunoptions.h"

#include "platform/programfolder.h"

#include <QFileInfo>

namespace {

// The text after the last folder separator of either platform, or after a drive.
QString FileNamePart(const QString &name)
{
    const qsizetype cut =
        std::max({name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char(':'))});
    return name.mid(cut + 1);
}

} // namespace

TRunOptions ParseRunOptions(const QStringList &arguments, const QString &programFolder)
{
    QStringList args;
    for (const QString &argument : arguments) {
        if (argument.isEmpty())
            break;
        args << argument;
    }

    TRunOptions options;
    options.LocalBase = Platform::WithTrailingSlash(programFolder);
    options.SkipList = {QStringLiteral("SKYRUNLOG.INI"), QStringLiteral("Error:")};
    if (args.size() == 1 && args.front() == QLatin1String("config"))
        options.Mode = TSkyrunMode::Config;
    else if (args.size() >= 2 && args.front() == QLatin1String("run"))
        options.Mode = TSkyrunMode::Run;

    QStringList followUp;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &argument = args[i];
        const QString lower = argument.toLower();
        if (lower == QLatin1String("/cr")) {
            if (++i < args.size() && QFileInfo(args[i]).isDir())
                options.LocalBase = Platform::WithTrailingSlash(QFileInfo(args[i]).absoluteFilePath());
            continue;
        }
        if (!argument.startsWith(QLatin1Char('-'))) {
            followUp << argument;
            continue;
        }
        if (lower == QLatin1String("-sc"))
            options.Silent = true;
        else if (lower == QLatin1String("-ftp"))
            options.Transport = TTransport::Ftp;
        else if (lower == QLatin1String("-sftp"))
            options.Transport = TTransport::Sftp;
        else if (lower == QLatin1String("-pft"))
            options.PreserveTimes = true;
        else if (lower == QLatin1String("-uz"))
            options.Extract = false;
        else if (const QString name = FileNamePart(argument.mid(1)).toUpper(); !name.isEmpty())
            options.SkipList << name;
    }
    // Two or more arguments always start the follow-up, whatever the first one was.
    if (args.size() >= 2) {
        const QString command = followUp.join(QLatin1Char(' ')).trimmed();
        if (command != QLatin1String("alone"))
            options.FollowUp = command;
    }
    return options;
}
