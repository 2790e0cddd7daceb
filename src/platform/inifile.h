#pragma once

#include "platform/platformexport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

/// One `name=value` line of a section.
struct TIniEntry
{
    QString Name;
    QString Value;

    friend bool operator==(const TIniEntry &, const TIniEntry &) = default;
};

/// A settings file with the semantics of the Windows private-profile functions:
/// section and key names compare case-insensitively; a missing file, section or key
/// yields the default; a write changes only its own line and keeps every other byte;
/// new lines end in CRLF while LF alone is also read; the file is CP949 on disk.
///
/// The object keeps the parsed file and looks at the file's identity, size and write
/// time before every call: as long as they are unchanged it answers from the parsed
/// copy, and as soon as another object or program has written the file it parses it
/// again. So lookups cost a look at the file and a hash probe, never a re-read, and
/// still see every write. (A same-size edit in place whose writer then restores the
/// old write time goes unnoticed, as with the platform's own profile functions.)
/// Section and key names are matched without the blanks around them. Like the rest of
/// the suite, an object is used from one thread: even its const calls refresh the copy.
class TOVEL_PLATFORM_EXPORT TIniFile
{
public:
    explicit TIniFile(QString fileName);
    ~TIniFile();
    TIniFile(TIniFile &&) noexcept;
    TIniFile &operator=(TIniFile &&) noexcept;
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const QString &FileName() const;

    /// Whether `key` can be written as a key name: not empty, no line break, no "=", not
    /// starting with "[" or ";", and held exactly by code page 949.
    static bool CanStoreKey(const QString &key);

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    /// The key names of `section` in file order, a key written twice listed twice.
    QStringList ReadSection(const QString &section) const;
    /// Every key of `section` with the value a lookup of it gives, in file order.
    QList<TIniEntry> ReadSectionValues(const QString &section) const;
    QStringList ReadSections() const;

    /// Writes `key=value` into `section`, creating the file and section when missing.
    /// Returns false, leaving the file as it was, when the file cannot be written, when
    /// a name or the value would break the file's line structure, or when a text has a
    /// character that code page 949 cannot hold.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    /// Writes several keys of one section in one commit: afterwards the file holds all
    /// of them or, when it returns false, none (the file stays as it was).
    bool WriteStrings(const QString &section, const QList<TIniEntry> &entries);
    bool DeleteKey(const QString &section, const QString &key);
    bool EraseSection(const QString &section);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
