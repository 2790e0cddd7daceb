#include "platform/inifile.h"

#include "platform/cp949.h"
#include "platform/filetimes.h"
#include "platform/inidocument.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <vector>

using namespace IniDocument;

namespace {

bool BreaksLineStructure(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool ValidSectionName(const QString &section)
{
    return !Platform::TrimBlanks(section).isEmpty() && !BreaksLineStructure(section) && !section.contains(QLatin1Char(']'));
}

bool ValidKeyName(const QString &key)
{
    const QString trimmed = Platform::TrimBlanks(key);
    return !trimmed.isEmpty() && !BreaksLineStructure(key) && !key.contains(QLatin1Char('='))
        && !trimmed.startsWith(QLatin1Char('[')) && !trimmed.startsWith(QLatin1Char(';'));
}

// The CP949 bytes of a text that is to be stored, or nothing when the code page cannot
// hold it: a file must never keep a different text than the one written.
std::optional<QByteArray> StoredBytes(const QString &text)
{
    bool exact = false;
    QByteArray bytes = Platform::ToCp949(text, &exact);
    if (!exact)
        return std::nullopt;
    return bytes;
}

} // namespace

struct TIniFile::Private
{
    QString fileName;
    QByteArray nativePath;
    std::optional<Platform::TFileIdentity> parsedIdentity;
    Document doc;

    // The parsed file, parsed again when the file on disk is no longer the one parsed.
    const Document &Current()
    {
        if (parsedIdentity && *parsedIdentity == Platform::FileIdentity(nativePath.constData()))
            return doc;
        Load();
        return doc;
    }

    void Load()
    {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            doc = Document();
            // A file that is there but cannot be read is looked at again every time.
            const auto identity = Platform::FileIdentity(nativePath.constData());
            parsedIdentity = identity.exists ? std::nullopt : std::optional(identity);
            return;
        }
        // The identity of the very file read, so a replacement racing the read is
        // noticed at the next call.
        const auto identity = Platform::FileIdentity(file.handle());
        doc = Parse(file.readAll());
        parsedIdentity = identity;
    }

    // Whether the file may be written: there, read and not marked read-only, or not
    // there at all. A file that exists but could not be read is never replaced by what
    // little we know of it.
    bool Writable()
    {
        Current();
        if (!doc.exists)
            return !QFile::exists(fileName);
        return !Platform::IsReadOnlyFile(fileName);
    }

    // Writes the parsed copy, changed by the caller, as the new file. On failure the
    // copy is dropped so the next call reads the file as it still is.
    bool Save()
    {
        QSaveFile file(fileName);
        const QByteArray bytes = doc.Bytes();
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()) {
            const auto identity = Platform::FileIdentity(file.handle());
            if (file.commit()) {
                doc.exists = true;
                parsedIdentity = identity;
                return true;
            }
        }
        parsedIdentity.reset();
        return false;
    }
};

TIniFile::TIniFile(QString fileName)
    : d(std::make_unique<Private>())
{
    d->nativePath = QFile::encodeName(fileName);
    d->fileName = std::move(fileName);
}

TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile &&) noexcept = default;
TIniFile &TIniFile::operator=(TIniFile &&) noexcept = default;

const QString &TIniFile::FileName() const
{
    return d->fileName;
}

bool TIniFile::CanStoreKey(const QString &key)
{
    return ValidKeyName(key) && StoredBytes(Platform::TrimBlanks(key)).has_value();
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Line *line = d->Current().FindKey(Platform::TrimBlanks(section), Platform::TrimBlanks(key));
    return line ? line->value : defaultValue;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = ReadString(section, key);
    bool ok = false;
    const int value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16)
                                                                                  : text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return d->Current().sections.contains(Platform::TrimBlanks(section));
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return d->Current().FindKey(Platform::TrimBlanks(section), Platform::TrimBlanks(key)) != nullptr;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    Document &doc = d->doc;
    d->Current();
    const auto at = doc.sections.find(Platform::TrimBlanks(section));
    if (at == doc.sections.end())
        return keys;
    const auto end = doc.SectionEnd(at->second.header);
    for (auto it = std::next(at->second.header); it != end; ++it) {
        if (it->kind == LineKind::Key)
            keys << it->name;
    }
    return keys;
}

QList<TIniEntry> TIniFile::ReadSectionValues(const QString &section) const
{
    QList<TIniEntry> entries;
    Document &doc = d->doc;
    d->Current();
    const auto at = doc.sections.find(Platform::TrimBlanks(section));
    if (at == doc.sections.end())
        return entries;
    const SectionIndex &index = at->second;
    const auto end = doc.SectionEnd(index.header);
    for (auto it = std::next(index.header); it != end; ++it) {
        // A key written twice reads as its first line, here as in a lookup.
        if (it->kind == LineKind::Key && &*index.keys.at(it->name) == &*it)
            entries.push_back({it->name, it->value});
    }
    return entries;
}

QStringList TIniFile::ReadSections() const
{
    QStringList sections;
    for (const Line &line : d->Current().lines) {
        if (line.kind == LineKind::Section)
            sections << line.name;
    }
    return sections;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteStrings(section, {{key, value}});
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteStrings(const QString &sectionName, const QList<TIniEntry> &entries)
{
    if (!ValidSectionName(sectionName))
        return false;
    if (entries.isEmpty())
        return true;
    const QString section = Platform::TrimBlanks(sectionName);
    const auto headerBytes = StoredBytes(QLatin1Char('[') + section + QLatin1Char(']'));
    if (!headerBytes)
        return false;
    struct Encoded
    {
        QString key;
        QByteArray keyBytes;
        QByteArray valueBytes;
    };
    std::vector<Encoded> encoded;
    encoded.reserve(static_cast<size_t>(entries.size()));
    for (const TIniEntry &entry : entries) {
        if (!ValidKeyName(entry.Name) || BreaksLineStructure(entry.Value))
            return false;
        const QString key = Platform::TrimBlanks(entry.Name);
        const auto keyBytes = StoredBytes(key);
        const auto valueBytes = StoredBytes(entry.Value);
        if (!keyBytes || !valueBytes)
            return false;
        encoded.push_back({key, *keyBytes, *valueBytes});
    }
    if (!d->Writable())
        return false;

    Document &doc = d->doc;
    // New keys of one call go one after another at the same place, found once.
    std::optional<LineIt> insertAt;
    for (const Encoded &entry : encoded) {
        const QByteArray lineBytes = entry.keyBytes + '=' + entry.valueBytes;
        const auto at = doc.sections.find(section);
        if (at == doc.sections.end()) {
            doc.AppendSection(*headerBytes, lineBytes);
            continue;
        }
        const auto key = at->second.keys.find(entry.key);
        if (key != at->second.keys.end()) {
            doc.SetValue(*key->second, entry.valueBytes);
            continue;
        }
        if (!insertAt)
            insertAt = doc.InsertionPoint(at->second);
        doc.InsertKey(at->second, *insertAt, lineBytes);
    }
    return d->Save();
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    if (!d->Writable())
        return false;
    Document &doc = d->doc;
    const auto at = doc.sections.find(Platform::TrimBlanks(section));
    if (at == doc.sections.end())
        return true;
    const auto line = at->second.keys.find(Platform::TrimBlanks(key));
    if (line == at->second.keys.end())
        return true;
    doc.lines.erase(line->second);
    doc.Reindex();
    return d->Save();
}

bool TIniFile::EraseSection(const QString &section)
{
    if (!d->Writable())
        return false;
    Document &doc = d->doc;
    const auto at = doc.sections.find(Platform::TrimBlanks(section));
    if (at == doc.sections.end())
        return true;
    const auto header = at->second.header;
    doc.lines.erase(header, doc.SectionEnd(header));
    doc.Reindex();
    return d->Save();
}
