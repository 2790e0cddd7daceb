#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

/// What a listing says an entry is; the update run fetches only files.
enum class TFtpItemType { File, Directory, Link, Other };

/// One entry of a parsed server listing.
struct TFtpListItem
{
    QString FileName;
    TFtpItemType ItemType = TFtpItemType::Other;
    /// The time as the server prints it, digit for digit (held as a UTC time so that no
    /// zone rule shifts it); invalid when the listing gives no usable time.
    QDateTime ModifiedDate;
    /// -1 when the listing gives none.
    qint64 Size = -1;
};

/// Which command produced the listing.
enum class TFtpListingKind { Mlsd, List };

/// Bounds of one listing. A listing beyond them fails instead of growing without end.
struct TFtpListingLimits
{
    qsizetype MaxEntries = 100000;
    qsizetype MaxLineLength = 4096;
};

/// Parses a directory listing as the server sent it.
///
/// MLSD lines carry facts ("type=file;modify=20240131235959;size=12; name"); their
/// times are UTC and are turned into local time. LIST lines may be in the Unix `ls -l`
/// form or the DOS/IIS form; their times are the server's wall clock and are kept as
/// they stand. A Unix line with "Mon dd hh:mm" has no year: it is the year of `today`,
/// or the previous year when that date would lie ahead of `today`.
///
/// Names are UTF-8 when `utf8Names` (the server accepted OPTS UTF8 ON), else code page
/// 949. An entry whose name is empty, "." or "..", holds "/", "\", NUL or a control
/// character, or does not survive decoding unchanged, is dropped: such a name could
/// step out of the folder it is stored in, or could not be asked for again. Lines that
/// are no entry ("total 12", blank lines) are skipped. More than `limits.MaxEntries`
/// lines, or a line longer than `limits.MaxLineLength` bytes, throws TException.
QList<TFtpListItem> ParseFtpListing(const QByteArray &listing, TFtpListingKind kind, bool utf8Names,
                                    const QDate &today = QDate::currentDate(),
                                    const TFtpListingLimits &limits = {});

/// Whether `name` may be handed on as the name of a file in the current folder.
bool IsSafeListedName(const QString &name);
