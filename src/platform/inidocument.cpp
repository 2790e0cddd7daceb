#include "platform/inidocument.h"

#include "platform/cp949.h"

namespace IniDocument {
namespace {

const QByteArray Crlf = QByteArrayLiteral("\r\n");

char16_t FoldUnit(char16_t unit)
{
    if (unit < 0x80)
        return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
    return QChar::toCaseFolded(unit);
}

QString UnquoteValue(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool IsBlank(const Line &line)
{
    for (const char byte : line.raw) {
        if (static_cast<unsigned char>(byte) > 32)
            return false;
    }
    return true;
}

// A file that does not end in a line break gets one before anything is appended.
void CloseLastLine(Lines &lines)
{
    if (!lines.empty() && lines.back().eol.isEmpty())
        lines.back().eol = Crlf;
}

} // namespace

size_t NameHash::operator()(const QString &name) const noexcept
{
    size_t hash = 14695981039346656037ull;
    for (const QChar c : name) {
        hash ^= FoldUnit(c.unicode());
        hash *= 1099511628211ull;
    }
    return hash;
}

bool NameEqual::operator()(const QString &a, const QString &b) const noexcept
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldUnit(a.at(i).unicode()) != FoldUnit(b.at(i).unicode()))
            return false;
    }
    return true;
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

Document Parse(const QByteArray &bytes)
{
    Document doc;
    doc.exists = true;
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
    doc.Reindex();
    return doc;
}

void Document::Reindex()
{
    sections.clear();
    SectionIndex *current = nullptr;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (it->kind == LineKind::Section) {
            // Only the first header of a name counts; keys under a later one are unseen.
            const auto [at, added] = sections.try_emplace(it->name, SectionIndex{it, {}});
            current = added ? &at->second : nullptr;
            continue;
        }
        if (it->kind == LineKind::Key && current)
            current->keys.try_emplace(it->name, it);
    }
}

const Line *Document::FindKey(const QString &section, const QString &key) const
{
    const auto at = sections.find(section);
    if (at == sections.end())
        return nullptr;
    const auto line = at->second.keys.find(key);
    return line == at->second.keys.end() ? nullptr : &*line->second;
}

LineIt Document::SectionEnd(LineIt header)
{
    auto it = std::next(header);
    while (it != lines.end() && it->kind != LineKind::Section)
        ++it;
    return it;
}

void Document::SetValue(Line &line, const QByteArray &valueBytes)
{
    const qsizetype equals = line.raw.indexOf('=');
    QByteArray stored = line.raw.left(equals);
    // Keep the key's own bytes, without the blanks around it.
    qsizetype first = 0;
    while (first < stored.size() && static_cast<unsigned char>(stored[first]) <= 32)
        ++first;
    qsizetype last = stored.size();
    while (last > first && static_cast<unsigned char>(stored[last - 1]) <= 32)
        --last;
    line = ParseLine(stored.mid(first, last - first) + '=' + valueBytes, std::move(line.eol));
}

LineIt Document::InsertionPoint(const SectionIndex &section)
{
    auto at = SectionEnd(section.header);
    while (std::prev(at) != section.header && IsBlank(*std::prev(at)))
        --at;
    return at;
}

void Document::InsertKey(SectionIndex &section, LineIt at, const QByteArray &lineBytes)
{
    if (at == lines.end())
        CloseLastLine(lines);
    const auto added = lines.insert(at, ParseLine(lineBytes, Crlf));
    section.keys.try_emplace(added->name, added);
}

void Document::AppendSection(const QByteArray &headerBytes, const QByteArray &lineBytes)
{
    CloseLastLine(lines);
    const auto header = lines.insert(lines.end(), ParseLine(headerBytes, Crlf));
    const auto key = lines.insert(lines.end(), ParseLine(lineBytes, Crlf));
    // A header of a name already present is never found by a lookup, nor is its key.
    const auto [section, added] = sections.try_emplace(header->name, SectionIndex{header, {}});
    if (added)
        section->second.keys.try_emplace(key->name, key);
}

QByteArray Document::Bytes() const
{
    qsizetype size = 0;
    for (const Line &line : lines)
        size += line.raw.size() + line.eol.size();
    QByteArray bytes;
    bytes.reserve(size);
    for (const Line &line : lines) {
        bytes += line.raw;
        bytes += line.eol;
    }
    return bytes;
}

} // namespace IniDocument
