#include "updater/skyrunlib.h"

#include "common/base64.h"
#include "platform/cp949.h"
#include "platform/inifile.h"
#include "platform/privatefile.h"
#include "platform/programfolder.h"
#include "platform/texception.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString ServerSection = QString::fromLatin1(FileServerSection);

QString IniPath(const QString &programFolder)
{
    return Platform::WithTrailingSlash(programFolder) + QString::fromLatin1(SkyrunIniName);
}

bool IsSeparator(QChar c)
{
    return c == QLatin1Char(';') || (c.unicode() >= 1 && c.unicode() <= 32);
}

// An entry after the base: "+sub" lies under the base, anything else is absolute.
// Returns an empty text for an entry that names nothing.
QString LaterEntry(QString entry, const QString &base)
{
    if (entry.startsWith(QLatin1Char('+'))) {
        entry.remove(0, 1);
        if (entry.isEmpty())
            return {};
        if (!entry.endsWith(QLatin1Char('/')))
            entry += QLatin1Char('/');
        return base + entry;
    }
    if (!entry.startsWith(QLatin1Char('/')))
        entry.prepend(QLatin1Char('/'));
    return entry;
}

// The lines of skyrun2.cfg that are not comments, joined as one path list.
QString ReadCfgPathList(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = Platform::FromCp949(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList kept;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = Platform::TrimBlanks(line);
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        kept.append(trimmed);
    }
    return kept.join(QLatin1Char('\n'));
}

} // namespace

TServerInfo ReadServerInfo(const QString &programFolder)
{
    // A file that is there but may not be read would silently give the defaults, and the
    // run would fail later with an empty host.
    const QFileInfo file(IniPath(programFolder));
    if (file.exists() && !file.isReadable())
        throw TException(QStringLiteral("Cannot read %1").arg(file.filePath()));
    const TIniFile ini(IniPath(programFolder));
    const auto raw = [&](const char *key) { return ini.ReadString(ServerSection, QString::fromLatin1(key)); };
    // The defaults apply to the stored text, before decoding.
    const auto decoded = [&](const char *key, const QString &whenEmpty) {
        const QString stored = raw(key);
        return stored.isEmpty() ? whenEmpty : DecodeBase64Text(stored);
    };
    TServerInfo info;
    info.IP = decoded("IP", {});
    info.Port = decoded("PORT", QStringLiteral("21"));
    info.Passive = raw("PSVT") == QLatin1String("1");
    info.Path = decoded("PATH", QStringLiteral("/"));
    info.ID = decoded("ID", {});
    info.PW = decoded("PW", {});
    const QString transType = raw("TRANSTYPE");
    info.TransType = transType.isEmpty() ? QStringLiteral("FTP") : transType.toUpper();
    // Already Base64 (of the key's 32 bytes): it must decode like its neighbours.
    info.PublicKey = raw(PublicKeyName);
    if (!info.PublicKey.isEmpty())
        Base64Decode(info.PublicKey.toLatin1());
    return info;
}

QString StoredPublicKey(const QString &programFolder)
{
    return TIniFile(IniPath(programFolder)).ReadString(ServerSection, QString::fromLatin1(PublicKeyName));
}

TServerInfo ReadServerInfo()
{
    return ReadServerInfo(Platform::ProgramFolder());
}

void WriteServerInfo(const TServerInfo &info, const QString &programFolder)
{
    // Everything is encoded first, so a text the code page cannot hold writes nothing.
    const QList<TIniEntry> entries = {
        {QStringLiteral("IP"), EncodeBase64Text(info.IP)},
        {QStringLiteral("PORT"), EncodeBase64Text(info.Port)},
        {QStringLiteral("PATH"), EncodeBase64Text(info.Path)},
        {QStringLiteral("ID"), EncodeBase64Text(info.ID)},
        {QStringLiteral("PW"), EncodeBase64Text(info.PW)},
        {QStringLiteral("PSVT"), info.Passive ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("TRANSTYPE"), info.TransType},
    };
    const QString fileName = IniPath(programFolder);
    const auto failed = [&] { return TException(QStringLiteral("Cannot write %1").arg(fileName)); };
    if (!Platform::CreateOwnerOnlyFile(fileName))
        throw failed();
    TIniFile ini(fileName);
    for (const TIniEntry &entry : entries) {
        if (!ini.WriteString(ServerSection, entry.Name, entry.Value))
            throw failed();
    }
    const QString keyName = QString::fromLatin1(PublicKeyName);
    if (!info.PublicKey.isEmpty()) {
        if (!ini.WriteString(ServerSection, keyName, info.PublicKey))
            throw failed();
    } else if (ini.ValueExists(ServerSection, keyName) && !ini.DeleteKey(ServerSection, keyName)) {
        throw failed();
    }
}

void WriteServerInfo(const TServerInfo &info)
{
    WriteServerInfo(info, Platform::ProgramFolder());
}

QStringList SplitPathList(const QString &pathList)
{
    QStringList entries;
    const qsizetype n = pathList.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && IsSeparator(pathList[i]))
            ++i;
        if (i >= n)
            break;
        QString entry;
        if (pathList[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (pathList[i] == QLatin1Char('"')) {
                    if (i + 1 < n && pathList[i + 1] == QLatin1Char('"')) {
                        entry += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                entry += pathList[i++];
            }
        } else {
            while (i < n && !IsSeparator(pathList[i]))
                entry += pathList[i++];
        }
        entries.append(entry);
    }
    return entries;
}

QString NormalizePathEntry(const QString &entry)
{
    QString text = entry;
    text.replace(QLatin1Char(' '), QLatin1Char('_'));
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    text.replace(QLatin1String("+/"), QLatin1String("+"));
    text.replace(QLatin1String("/+"), QLatin1String("/"));
    text.replace(QLatin1String("//"), QLatin1String("/"));
    return text;
}

QStringList BuildDirectoryList(const QString &pathList, const QString &programFolder)
{
    QStringList list;
    QString base;
    for (const QString &raw : SplitPathList(pathList)) {
        const QString trimmed = Platform::TrimBlanks(raw);
        if (trimmed.isEmpty())
            continue;
        QString entry = NormalizePathEntry(trimmed);
        if (base.isEmpty()) {
            if (!entry.startsWith(QLatin1Char('/')))
                entry.prepend(QLatin1Char('/'));
            if (!entry.endsWith(QLatin1Char('/')))
                entry += QLatin1Char('/');
            base = entry;
            list.append(base);
            continue;
        }
        entry = LaterEntry(entry, base);
        if (!entry.isEmpty())
            list.append(entry);
    }
    if (base.isEmpty())
        return list;

    const QString cfg = ReadCfgPathList(Platform::WithTrailingSlash(programFolder) + QString::fromLatin1(SkyrunCfgName));
    for (const QString &raw : SplitPathList(cfg)) {
        const QString trimmed = Platform::TrimBlanks(raw);
        if (trimmed.isEmpty())
            continue;
        const QString normalized = NormalizePathEntry(trimmed);
        const QString entry = LaterEntry(normalized, base);
        if (entry.isEmpty())
            continue;
        // The base itself, written again as an absolute entry, is not walked twice.
        if (!normalized.startsWith(QLatin1Char('+')) && (entry == base || entry + QLatin1Char('/') == base))
            continue;
        list.append(entry);
    }
    return list;
}

QStringList BuildDirectoryList(const QString &pathList)
{
    return BuildDirectoryList(pathList, Platform::ProgramFolder());
}
