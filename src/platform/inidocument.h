#pragma once

// The parsed form of one settings file, kept by TIniFile between calls.

#include <QByteArray>
#include <QString>

#include <list>
#include <unordered_map>

namespace IniDocument {

enum class LineKind { Other, Section, Key };

/// One physical line of the file. `raw` keeps its bytes untouched and `eol` its own line
/// end, so a write puts every line it does not change back exactly as it was.
struct Line
{
    QByteArray raw;
    QByteArray eol;
    LineKind kind = LineKind::Other;
    QString name;
    QString value;
};

using Lines = std::list<Line>;
using LineIt = Lines::iterator;

/// Hashes and compares names the way the profile functions match them: ignoring case,
/// one UTF-16 unit at a time, so that hash and equality always agree.
struct NameHash
{
    size_t operator()(const QString &name) const noexcept;
};

struct NameEqual
{
    bool operator()(const QString &a, const QString &b) const noexcept;
};

template<typename Value>
using NameMap = std::unordered_map<QString, Value, NameHash, NameEqual>;

/// The first header of a section name and the first line of each key below it: the
/// lines a lookup finds.
struct SectionIndex
{
    LineIt header;
    NameMap<LineIt> keys;
};

struct Document
{
    Lines lines;
    NameMap<SectionIndex> sections;
    bool exists = false;

    /// Rebuilds the index after lines were added or removed other than through
    /// `InsertKey` and `AppendSection`.
    void Reindex();

    const Line *FindKey(const QString &section, const QString &key) const;
    /// One past the last line of the section whose header is `header`.
    LineIt SectionEnd(LineIt header);

    /// Sets the value of an existing key line, keeping the key as the file spells it.
    void SetValue(Line &line, const QByteArray &valueBytes);
    /// Where new keys of a section go: after its last non-blank line.
    LineIt InsertionPoint(const SectionIndex &section);
    /// Adds the line `key=value` to an existing section before `at`.
    void InsertKey(SectionIndex &section, LineIt at, const QByteArray &lineBytes);
    /// Appends a new section with one key at the end of the file.
    void AppendSection(const QByteArray &headerBytes, const QByteArray &lineBytes);

    QByteArray Bytes() const;
};

Line ParseLine(QByteArray raw, QByteArray eol);
Document Parse(const QByteArray &bytes);

} // namespace IniDocument
