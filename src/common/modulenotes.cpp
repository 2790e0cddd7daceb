#include "common/modulenotes.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QVariant>

void NoteModuleCall(const QString &line)
{
    QStringList calls = qApp->property("TovelSampleModuleCalls").toStringList();
    calls << line;
    qApp->setProperty("TovelSampleModuleCalls", calls);
    const QString trace = qEnvironmentVariable("TOVEL_MODULE_TRACE");
    QFile file(trace);
    if (!trace.isEmpty() && file.open(QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}
