#pragma once

#include "platform/platformexport.h"

#include <QString>
#include <QStringList>

/// A settings file with the semantics of the Windows private-profile functions:
/// section and key names compare case-insensitively; a missing file, section or key
/// yields the default; a write changes only its own line and keeps every other byte;
/// new lines end in CRLF while LF alone is also read; the file is CP949 on disk.
/// Nothing is cached: every call reads the file afresh, so two objects (or two
/// programs) on one file always see each other's writes.
class TOVEL_PLATFORM_EXPORT TIniFile
{
public:
    explicit TIniFile(QString fileName);

    const QString &FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    /// The key names of `section` in file order.
    QStringList ReadSection(const QString &section) const;
    QStringList ReadSections() const;

    /// Writes `key=value` into `section`, creating the file and section when missing.
    /// Returns false, leaving the file as it was, when the file cannot be written or
    /// when a name or the value would break the file's line structure.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool DeleteKey(const QString &section, const QString &key);
    bool EraseSection(const QString &section);

private:
    QString m_fileName;
};
