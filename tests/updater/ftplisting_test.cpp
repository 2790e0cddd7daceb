#include "testsupport.h"

#include "platform/cp949.h"
#include "updater/ftplisting.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ctime>

namespace {

const QDate Today(2024, 6, 15);

QString TypeName(TFtpItemType type)
{
    return type == TFtpItemType::File        ? QStringLiteral("file")
           : type == TFtpItemType::Directory ? QStringLiteral("dir")
           : type == TFtpItemType::Link      ? QStringLiteral("link")
                                             : QStringLiteral("other");
}

// "name|type|time|size" of each entry, one per line.
QString Rows(const QList<TFtpListItem> &items)
{
    QStringList rows;
    for (const TFtpListItem &item : items) {
        rows << item.FileName + QLatin1Char('|') + TypeName(item.ItemType) + QLatin1Char('|')
                + item.ModifiedDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char('|')
                + QString::number(item.Size);
    }
    return rows.join(QLatin1Char('\n'));
}

QString ParseList(const QByteArray &line, const QDate &today = Today)
{
    return Rows(ParseFtpListing(line, TFtpListingKind::List, true, today));
}

// Each line and what it gives ("" for no entry).
TEST(FtpListing, UnixAndDosLines)
{
    const std::pair<const char *, const char *> cases[] = {
        {"-rw-r--r--   1 owner  group      1234 Jan 12 13:45 report.dll", "report.dll|file|2024-01-12 13:45:00.000|1234"},
        {"-rw-r--r--   1 1001     1001    77 Mar  1  2019 numeric.txt", "numeric.txt|file|2019-03-01 00:00:00.000|77"},
        {"drwxr-xr-x   2 root root 4096 Jun 15 09:00 sub", "sub|dir|2024-06-15 09:00:00.000|4096"},
        {"lrwxrwxrwx   1 u g 7 Feb  2 10:11 latest -> v2/app.dll", "latest|link|2024-02-02 10:11:00.000|7"},
        {"-rw-r--r--+  1 u g 5 May  5  2023 acl.txt", "acl.txt|file|2023-05-05 00:00:00.000|5"},
        {"-rw-r--r--@  1 u g 5 May  5  2023 mac.txt", "mac.txt|file|2023-05-05 00:00:00.000|5"},
        {"-rw-r--r--.  1 u g 5 May  5  2023 selinux.txt", "selinux.txt|file|2023-05-05 00:00:00.000|5"},
        {"crw-rw----   1 root tty   4,  64 Jan  1  2024 tty0", "tty0|other|2024-01-01 00:00:00.000|-1"},
        {"brw-rw----   1 root disk  8,   0 Jan  1  2024 sda", "sda|other|2024-01-01 00:00:00.000|-1"},
        {"-rw-r--r--   1 owner  1234 Apr 30 23:59 no group.txt", "no group.txt|file|2024-04-30 23:59:00.000|1234"},
        {"-rw-r--r--   1 u g 10 Jun 10 08:00 name  with   spaces ", "name  with   spaces |file|2024-06-10 08:00:00.000|10"},
        {"-rw-r--r--   1 u g 10 Jun 10 08:00 arrow -> in name", "arrow -> in name|file|2024-06-10 08:00:00.000|10"},
        {"-rw-r--r--   1 Mar g 10 jun 10 08:00 owner named Mar", "owner named Mar|file|2024-06-10 08:00:00.000|10"},
        {"total 12", ""},
        {"-rw-r--r--   1 u g 10 Foo 10 08:00 bad month", ""},
        {"-rw-r--r--   1 u g 10 Feb 30  2023 bad day", ""},
        {"01-12-24  01:45PM       <DIR>          bin", "bin|dir|2024-01-12 13:45:00.000|-1"},
        {"01-12-24  01:45PM                 1234 report.dll", "report.dll|file|2024-01-12 13:45:00.000|1234"},
        {"06-01-24  12:05AM                    1 midnight.txt", "midnight.txt|file|2024-06-01 00:05:00.000|1"},
        {"06-01-24  12:05PM                    1 noon.txt", "noon.txt|file|2024-06-01 12:05:00.000|1"},
        {"12-31-1999  11:59PM                  9 four digit.txt", "four digit.txt|file|1999-12-31 23:59:00.000|9"},
        {"12-31-98  11:59PM                    9 old.txt", "old.txt|file|1998-12-31 23:59:00.000|9"},
        {"03-04-2024  17:30                    9 clock.txt", "clock.txt|file|2024-03-04 17:30:00.000|9"},
        {"03-04-24  13:30PM                    9 bad hour.txt", ""},
        {"13-04-24  01:30PM                    9 bad month.txt", ""},
    };
    for (const auto &[line, expected] : cases)
        EXPECT_EQ(ParseList(line), QString::fromUtf8(expected)) << line;
}

// Without a year the date is this year's, unless that lies ahead of today.
TEST(FtpListing, YearOfRecentUnixDatesAroundNewYear)
{
    // 29 February of a year that has none belongs to the year before.
    const std::tuple<const char *, QDate, const char *> cases[] = {
        {"Dec 31 23:59", QDate(2025, 1, 1), "2024-12-31 23:59"}, {"Jan  1 00:01", QDate(2025, 1, 1), "2025-01-01 00:01"},
        {"Dec 31 23:59", QDate(2024, 12, 31), "2024-12-31 23:59"}, {"Jan  1 00:01", QDate(2024, 12, 31), "2024-01-01 00:01"},
        {"Jan  2 00:01", QDate(2025, 1, 1), "2024-01-02 00:01"}, {"Feb 29 10:00", QDate(2025, 3, 1), "2024-02-29 10:00"},
        {"Feb 29 10:00", QDate(2024, 3, 1), "2024-02-29 10:00"}, {"Feb 29 10:00", QDate(2025, 1, 1), "2024-02-29 10:00"}};
    for (const auto &[stamp, today, expected] : cases)
        EXPECT_EQ(ParseList(QByteArray("-rw-r--r-- 1 u g 1 ") + stamp + " a", today),
                  QStringLiteral("a|file|%1:00.000|1").arg(QLatin1String(expected)))
            << stamp << " " << today.toString(Qt::ISODate).toStdString();
}

// MLSD times keep the listing's digits whatever this machine's zone is: the stamps
// recorded by the workstations in use hold them.
TEST(FtpListing, MlsdFactsWithTheListingsOwnTimes)
{
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray oldZone = qgetenv("TZ");
    qputenv("TZ", "KST-9");
    tzset();
    const QByteArray listing = "type=cdir;modify=20240101000000; .\r\n"
                               "type=pdir;modify=20240101000000; ..\r\n"
                               "Type=File;Size=12;Modify=20231231235959; new year.dll\r\n"
                               "modify=20240615120000.123;perm=r;type=file;size=0;unique=1; ms;semi=colon.txt\r\n"
                               "type=dir;modify=20240615120000; sub\r\n"
                               "type=OS.unix=slink:/x;modify=20240615120000; lnk\r\n"
                               "type=file; notime.txt\r\n"
                               "type=file;modify=garbage; badtime.txt\r\n"
                               "size=1; untyped.txt\r\n"
                               "no facts at all\r\n";
    EXPECT_EQ(Rows(ParseFtpListing(listing, TFtpListingKind::Mlsd, true, Today)),
              QStringLiteral("new year.dll|file|2023-12-31 23:59:59.000|12\n"
                             "ms;semi=colon.txt|file|2024-06-15 12:00:00.123|0\n"
                             "sub|dir|2024-06-15 12:00:00.000|-1\n"
                             "lnk|link|2024-06-15 12:00:00.000|-1"))
        << "a file without a usable time is dropped";
    hadZone ? qputenv("TZ", oldZone) : qunsetenv("TZ");
    tzset();
}

TEST(FtpListing, NamesAreUtf8OrCp949)
{
    const QString name = QStringLiteral("한글 파일.dll");
    const QByteArray head = "-rw-r--r-- 1 u g 1 Jan  2  2024 ";
    const QString row = name + QStringLiteral("|file|2024-01-02 00:00:00.000|1");
    EXPECT_EQ(Rows(ParseFtpListing(head + name.toUtf8(), TFtpListingKind::List, true, Today)), row);
    EXPECT_EQ(Rows(ParseFtpListing(head + Platform::ToCp949(name), TFtpListingKind::List, false, Today)), row);
    // Bytes that are not text of the announced encoding could not be asked for again.
    EXPECT_EQ(Rows(ParseFtpListing(head + Platform::ToCp949(name), TFtpListingKind::List, true, Today)), QString());
    EXPECT_EQ(Rows(ParseFtpListing(head + "\x81", TFtpListingKind::List, false, Today)), QString());
}

// Names that could step out of the folder, or hide part of themselves, are never handed on.
TEST(FtpListing, HostileNamesAreDropped)
{
    const QByteArray names[] = {"..", ".", "../evil.dll", "sub/evil.dll", "..\\evil.dll", "C:\\evil.dll",
                                QByteArray("nul\0byte", 8), "tab\there", "bell\x07", "del\x7f", "esc\x1b[2J",
                                "c1\xc2\x85next", "rlo\xe2\x80\xaegpj.dll", "line\xe2\x80\xa8sep"};
    for (const QByteArray &name : names) {
        const QString rows = ParseList("-rw-r--r-- 1 u g 1 Jan  2  2024 " + name) + ParseList("01-02-24  01:00AM  1 " + name)
                             + Rows(ParseFtpListing("type=file;modify=20240101000000; " + name, TFtpListingKind::Mlsd, true));
        EXPECT_EQ(rows, QString()) << name.toHex().constData();
    }
    // A broken date column never lets a date inside the name stand for it.
    EXPECT_EQ(ParseList("-rw-r--r-- 1 u g 10 Feb 30 2023 x Jan 5 2020 y"), QString());
    EXPECT_EQ(ParseList("-rw-r--r-- 1 u g 10 Jan 2 25:61 x Jan 5 2020 y"), QString());
    // A name of blanks only, and a line that stops where the name would start.
    EXPECT_EQ(ParseList("-rw-r--r-- 1 u g 1 Jan  2  2024 "), QString());
    EXPECT_EQ(ParseList("-rw-r--r-- 1 u g 1 Jan  2  2024"), QString());
    // Good neighbours of a hostile entry stay.
    EXPECT_EQ(ParseList("-rw-r--r-- 1 u g 1 Jan  2  2024 ..\r\n-rw-r--r-- 1 u g 1 Jan  2  2024 ok\r\n"),
              QStringLiteral("ok|file|2024-01-02 00:00:00.000|1"));
}

TEST(FtpListing, ListingsBeyondTheirBoundsFail)
{
    const TFtpListingLimits limits{3, 40};
    const QByteArray line = "01-02-24  01:00AM  1 a\r\n";
    EXPECT_EQ(ParseFtpListing(line + line + "\r\n\r\n" + line, TFtpListingKind::List, true, Today, limits).size(), 3);
    EXPECT_EQ(ErrorOf([&] { ParseFtpListing(line + line + line + line, TFtpListingKind::List, true, Today, limits); }),
              QStringLiteral("Listing longer than 3 entries"));
    const QByteArray longLine = "01-02-24  01:00AM  1 " + QByteArray(20, 'x');
    EXPECT_EQ(ErrorOf([&] { ParseFtpListing(longLine, TFtpListingKind::List, true, Today, limits); }),
              QStringLiteral("Listing line longer than 40 bytes"));
}

} // namespace
