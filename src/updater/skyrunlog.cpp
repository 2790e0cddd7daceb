#include "updater/skyrunlog.h"

#include "platform/cp949.h"
#include "platform/inifile.h"
#include "platform/programfolder.h"
#include "platform/texception.h"

#include <QDir>
#include <QSaveFile>

namespace {

const QString DateSection = QString::fromLatin1(LatestFileDateSection);
const QString HashSection = QStringLiteral("SHA256");
const QString ReleaseSection = QStringLiteral("RELEASE");
const QString SequenceKey = QStringLiteral("SEQUENCE");

} // namespace

QString FormatStamp(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyyMMddHHmmsszzz"));
}

QString RecordKey(const QString &relativeFolder, const QString &name)
{
    QString folder = relativeFolder;
    folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    return folder + name;
}

TSkyrunLog::TSkyrunLog(const QString &programFolder)
    : m_ini(std::make_unique<TIniFile>(Platform::WithTrailingSlash(programFolder) + QString::fromLatin1(SkyrunLogName)))
{
}

TSkyrunLog::~TSkyrunLog() = default;

QString TSkyrunLog::ReadStamp(const QString &key) const
{
    const QString stamp = m_ini->ReadString(DateSection, key);
    return stamp.isEmpty() ? QString::fromLatin1(NoRecordStamp) : stamp;
}

void TSkyrunLog::WriteStamp(const QString &key, const QString &stamp)
{
    if (!m_ini->WriteString(DateSection, key, stamp))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

QList<TIniEntry> TSkyrunLog::ReadAll() const
{
    return m_ini->ReadSectionValues(DateSection);
}

void TSkyrunLog::WriteStamps(const QList<TIniEntry> &stamps)
{
    if (!m_ini->WriteStrings(DateSection, stamps))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

void TSkyrunLog::DeleteStamp(const QString &key)
{
    if (!m_ini->DeleteKey(DateSection, key))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

QString TSkyrunLog::ReadHash(const QString &key) const
{
    return m_ini->ReadString(HashSection, key);
}

QList<TIniEntry> TSkyrunLog::ReadAllHashes() const
{
    return m_ini->ReadSectionValues(HashSection);
}

void TSkyrunLog::WriteHashes(const QList<TIniEntry> &hashes)
{
    if (!m_ini->WriteStrings(HashSection, hashes))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

void TSkyrunLog::DeleteHash(const QString &key)
{
    if (m_ini->ValueExists(HashSection, key) && !m_ini->DeleteKey(HashSection, key))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

quint64 TSkyrunLog::AcceptedRelease() const
{
    bool ok = false;
    const quint64 sequence = m_ini->ReadString(ReleaseSection, SequenceKey).toULongLong(&ok);
    return ok ? sequence : 0;
}

void TSkyrunLog::RecordRelease(quint64 sequence)
{
    if (!m_ini->WriteString(ReleaseSection, SequenceKey, QString::number(sequence)))
        throw TException(QStringLiteral("Cannot write %1").arg(m_ini->FileName()));
}

QString WriteRunLog(const QString &programFolder, const QStringList &lines, const QDateTime &now)
{
    const QString folder = QDir(programFolder).filePath(QStringLiteral("Log"));
    if (!QDir().mkpath(folder))
        return {};
    const QString fileName =
        QDir(folder).filePath(QStringLiteral("upd_%1.log").arg(now.toString(QStringLiteral("yyMMddHHmmsszzz"))));
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Platform::ToCp949(line) + "\r\n";
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return fileName;
}
