#include "platform/inifile.h"

#include "platform/cp949.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace {

enum class LineKind { Other, Section, Key };

// One physical line of the file. `raw` keeps its bytes untouched, `eol` its own line end,
// so a write can put every line it does not change back exactly as it was.
struct Line
{
    QByteArray raw;
    QByteArray eol;
    LineKind kind = LineKind::Other;
    QString name;
    QString value;
};

struct Document
{
    std::vector<Line> lines;
    bool exists = false;
};

const QByteArray Crlf = QByteArrayLiteral("\r\n");

QString UnquoteValue(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

Line ParseLine(QByteArray raw, QByteArray eol)
{
    Line line;
    line.raw = std::move(raw);
    line.eol = std::move(eol);
    const QString text = Platform::TrimBlanks(Platform::FromCp949(line.raw));
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = Platform::TrimBlanks(text.mid(1, close - 1));
        }
        return line;
    }
    if (text.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return line;
    line.kind = LineKind::Key;
    line.name = Platform::TrimBlanks(text.left(equals));
    line.value = UnquoteValue(Platform::TrimBlanks(text.mid(equals + 1)));
    return line;
}

Document Load(const QString &fileName)
{
    Document doc;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return doc;
    doc.exists = true;
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf;
        qsizetype contentEnd = end;
        if (lf >= 0 && end > start && bytes[end - 1] == '\r')
            --contentEnd;
        const qsizetype next = lf < 0 ? bytes.size() : lf + 1;
        doc.lines.push_back(ParseLine(bytes.mid(start, contentEnd - start), bytes.mid(contentEnd, next - contentEnd)));
        start = next;
    }
    return doc;
}

bool Save(const QString &fileName, const Document &doc)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const Line &line : doc.lines) {
        if (file.write(line.raw) != line.raw.size() || file.write(line.eol) != line.eol.size())
            return false;
    }
    return file.commit();
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first header of `section`, if any.
std::optional<size_t> FindSection(const Document &doc, const QString &section)
{
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].kind == LineKind::Section && SameName(doc.lines[i].name, section))
            return i;
    }
    return std::nullopt;
}

// One past the last line that belongs to the section whose header is at `header`.
size_t SectionEnd(const Document &doc, size_t header)
{
    size_t i = header + 1;
    while (i < doc.lines.size() && doc.lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

std::optional<size_t> FindKey(const Document &doc, const QString &section, const QString &key)
{
    const auto header = FindSection(doc, section);
    if (!header)
        return std::nullopt;
    const size_t end = SectionEnd(doc, *header);
    for (size_t i = *header + 1; i < end; ++i) {
        if (doc.lines[i].kind == LineKind::Key && SameName(doc.lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

bool BreaksLineStructure(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool ValidSectionName(const QString &section)
{
    return !section.isEmpty() && !BreaksLineStructure(section) && !section.contains(QLatin1Char(']'));
}

bool ValidKeyName(const QString &key)
{
    const QString trimmed = Platform::TrimBlanks(key);
    return !trimmed.isEmpty() && !BreaksLineStructure(key) && !key.contains(QLatin1Char('='))
        && !trimmed.startsWith(QLatin1Char('[')) && !trimmed.startsWith(QLatin1Char(';'));
}

// A file that does not end in a line break gets one before anything is appended.
void CloseLastLine(Document &doc)
{
    if (!doc.lines.empty() && doc.lines.back().eol.isEmpty())
        doc.lines.back().eol = Crlf;
}

} // namespace

TIniFile::TIniFile(QString fileName)
    : m_fileName(std::move(fileName))
{
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Document doc = Load(m_fileName);
    const auto at = FindKey(doc, section, key);
    return at ? doc.lines[*at].value : defaultValue;
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
    return FindSection(Load(m_fileName), section).has_value();
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return FindKey(Load(m_fileName), section, key).has_value();
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    const Document doc = Load(m_fileName);
    QStringList keys;
    const auto header = FindSection(doc, section);
    if (!header)
        return keys;
    const size_t end = SectionEnd(doc, *header);
    for (size_t i = *header + 1; i < end; ++i) {
        if (doc.lines[i].kind == LineKind::Key)
            keys << doc.lines[i].name;
    }
    return keys;
}

QStringList TIniFile::ReadSections() const
{
    QStringList sections;
    for (const Line &line : Load(m_fileName).lines) {
        if (line.kind == LineKind::Section)
            sections << line.name;
    }
    return sections;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (!ValidSectionName(section) || !ValidKeyName(key) || BreaksLineStructure(value))
        return false;
    Document doc = Load(m_fileName);
    if (!doc.exists && QFile::exists(m_fileName))
        return false; // there, but unreadable: never replace what we could not read
    const QString trimmedKey = Platform::TrimBlanks(key);

    if (const auto at = FindKey(doc, section, key)) {
        Line &line = doc.lines[*at];
        // Keep the key as the file spells it; only the value changes.
        const QString text = Platform::FromCp949(line.raw);
        const QString stored = Platform::TrimBlanks(text.left(text.indexOf(QLatin1Char('='))));
        line.raw = Platform::ToCp949(stored + QLatin1Char('=') + value);
        line.value = value;
        return Save(m_fileName, doc);
    }

    Line added = ParseLine(Platform::ToCp949(trimmedKey + QLatin1Char('=') + value), Crlf);
    if (const auto header = FindSection(doc, section)) {
        // New keys go after the section's last non-blank line, before any blank lines.
        size_t insertAt = SectionEnd(doc, *header);
        while (insertAt > *header + 1 && Platform::TrimBlanks(Platform::FromCp949(doc.lines[insertAt - 1].raw)).isEmpty())
            --insertAt;
        if (insertAt == doc.lines.size())
            CloseLastLine(doc);
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(added));
        return Save(m_fileName, doc);
    }

    CloseLastLine(doc);
    doc.lines.push_back(ParseLine(Platform::ToCp949(QLatin1Char('[') + section + QLatin1Char(']')), Crlf));
    doc.lines.push_back(std::move(added));
    return Save(m_fileName, doc);
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    Document doc = Load(m_fileName);
    const auto at = FindKey(doc, section, key);
    if (!at)
        return true;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*at));
    return Save(m_fileName, doc);
}

bool TIniFile::EraseSection(const QString &section)
{
    Document doc = Load(m_fileName);
    const auto header = FindSection(doc, section);
    if (!header)
        return true;
    const size_t end = SectionEnd(doc, *header);
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*header),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
    return Save(m_fileName, doc);
}
