#include "kit/modulenotes.h"

#include "caller/TovelModule.h"
#include "common/fixedfield.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QVariant>

void NoteModuleCall(const QString &line)
{
    QStringList calls = qApp->property("TovelSampleModuleCalls").toStringList();
    calls << line;
    qApp->setProperty("TovelSampleModuleCalls", calls);
    NoteInTrace(line);
}

void NoteInTrace(const QString &line)
{
    const QString trace = qEnvironmentVariable("TOVEL_MODULE_TRACE");
    QFile file(trace);
    if (!trace.isEmpty() && file.open(QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}

void NoteShowInFrame(const QString &moduleId, const TModuleArgs *record, std::uint32_t size)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(record);
    bool tailZero = true;
    for (std::uint32_t i = sizeof(TModuleArgs); i < size; ++i)
        tailZero = tailZero && bytes[i] == 0;
    NoteModuleCall(QStringLiteral("%1 ShowInFrame prog=%2 user=%3 size=%4 close=%5 handle=%6 tail=%7")
                       .arg(moduleId, ReadFixed(record->ProgId), ReadFixed(record->LoginInfo.UserId))
                       .arg(size)
                       .arg(record->CloseMsg)
                       .arg(record->ModuleHandle)
                       .arg(tailZero ? QStringLiteral("zero") : QStringLiteral("set")));
}
