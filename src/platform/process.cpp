#include "platform/process.h"

#include "platform/programfolder.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace Platform {

bool StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

QStringList SplitCommandLine(const QString &commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true;
            continue;
        }
        if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

bool StartCommandLine(const QString &commandLine)
{
    QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty())
        return false;
    QString program = arguments.takeFirst();
    if (!program.contains(QLatin1Char('/'))) {
        const QString local = ProgramFolder() + program;
        if (QFileInfo(local).isExecutable())
            program = local;
        else if (const QString found = QStandardPaths::findExecutable(program); !found.isEmpty())
            program = found;
    }
    return StartProgram(program, arguments);
}

} // namespace Platform
