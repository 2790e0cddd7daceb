#pragma once

#include "platform/inifile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The updater's record of what it has applied: skyrunlog.ini, section "LATESTFDATE",
// one 17-digit time stamp per file, keyed by its local relative folder and name. Beside
// it, the log a failed run leaves in the program folder's Log folder.

inline constexpr char SkyrunLogName[] = "skyrunlog.ini";
inline constexpr char LatestFileDateSection[] = "LATESTFDATE";
/// The stamp that stands for "no record".
inline constexpr char NoRecordStamp[] = "19900101000001000";

/// Year, month, day, hour (00-23), minute, second and millisecond as 17 digits; stamps
/// compare as plain text in time order.
QString FormatStamp(const QDateTime &time);

/// The record key of `name` in the local relative folder `relativeFolder` (written with
/// "/" or "\", empty for the base directory): the folder's parts joined by "\", a "\"
/// and the name. The keys are the same on every platform.
QString RecordKey(const QString &relativeFolder, const QString &name);

/// skyrunlog.ini of a program folder.
class TSkyrunLog
{
public:
    explicit TSkyrunLog(const QString &programFolder);
    ~TSkyrunLog();
    TSkyrunLog(const TSkyrunLog &) = delete;
    TSkyrunLog &operator=(const TSkyrunLog &) = delete;

    /// The recorded stamp of `key`; NoRecordStamp when there is none or it is empty.
    QString ReadStamp(const QString &key) const;
    /// Records `stamp` under `key` at once. Throws TException when the file cannot be
    /// written; the file then stays as it was.
    void WriteStamp(const QString &key, const QString &stamp);
    /// Every record in file order, read at once.
    QList<TIniEntry> ReadAll() const;
    /// Records several stamps in one write: all of them or, when it throws, none.
    void WriteStamps(const QList<TIniEntry> &stamps);
    /// Forgets the record of `key`. Throws TException when the file cannot be written.
    void DeleteStamp(const QString &key);

    /// The SHA-256 (hex) of the signed file last put in place under `key` (section
    /// "SHA256"); empty when none is recorded.
    QString ReadHash(const QString &key) const;
    /// Every recorded SHA-256 in file order.
    QList<TIniEntry> ReadAllHashes() const;
    /// Records hashes in one write: all of them or, when it throws, none.
    void WriteHashes(const QList<TIniEntry> &hashes);
    /// Forgets the hash of `key`; the file is not written when there is none.
    void DeleteHash(const QString &key);

    /// The sequence number of the last signed release a run finished (section "RELEASE",
    /// key "SEQUENCE"); 0 when none was.
    quint64 AcceptedRelease() const;
    /// Records `sequence` as the last finished release. Throws TException when the file
    /// cannot be written.
    void RecordRelease(quint64 sequence);

private:
    std::unique_ptr<TIniFile> m_ini;
};

/// Saves the message lines of a failed run as Log/upd_YYMMDDHHMMSSZZZ.log in
/// `programFolder`: code page 949, each line ended by CR LF. Returns the file written, or
/// an empty text when the folder or the file cannot be made.
QString WriteRunLog(const QString &programFolder, const QStringList &lines,
                    const QDateTime &now = QDateTime::currentDateTime());
