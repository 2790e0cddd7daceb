#include "grid/uxlocale.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace {

// Switches the C library's locale for the scope, as a Qt application does from its
// environment. A locale the system has not generated is generated into a private folder
// (the setup script installs the locale sources) and found through LOCPATH, which is set
// for the scope only.
class CLocaleScope
{
public:
    explicit CLocaleScope(const char *name)
        : m_previous(std::setlocale(LC_ALL, nullptr))
    {
        if (std::setlocale(LC_ALL, name))
            return;
        static std::unique_ptr<QTemporaryDir> folder;
        if (!folder) {
            folder = std::make_unique<QTemporaryDir>();
            const QString locale = QString::fromLatin1(name);
            QProcess::execute(QStringLiteral("localedef"),
                              {QStringLiteral("-c"), QStringLiteral("-i"), locale.section(QLatin1Char('.'), 0, 0),
                               QStringLiteral("-f"), locale.section(QLatin1Char('.'), 1), folder->filePath(locale)});
        }
        m_pathSet = true;
        if (const char *path = std::getenv("LOCPATH"))
            m_previousPath = path;
        ::setenv("LOCPATH", QFile::encodeName(folder->path()).constData(), 1);
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~CLocaleScope()
    {
        std::setlocale(LC_ALL, m_previous.c_str());
        if (!m_pathSet)
            return;
        if (m_previousPath)
            ::setenv("LOCPATH", m_previousPath->c_str(), 1);
        else
            ::unsetenv("LOCPATH");
    }
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    std::optional<std::string> m_previousPath;
    bool m_pathSet = false;
    bool m_active = true;
};

// Sets the grid's locale for the scope.
class GridLocaleScope
{
public:
    GridLocaleScope()
        : m_saved(TwLocale::Current())
    {
    }
    ~GridLocaleScope() { TwLocale::Current() = m_saved; }

private:
    TwLocale m_saved;
};

} // namespace

TEST(Formats, RegressionHalvesOfTheDecimalValueRoundAwayFromZero)
{
    struct Case
    {
        const char *Pattern;
        double Value;
        const char *Text;
    };
    const Case cases[] = {
        {"#,##0", 1234.5, "1,235"},
        {"0.00", 0.125, "0.13"},
        {"0", -2.5, "-3"},
        {"0", 2.5, "3"},
        {"0", 0.5, "1"},
        {"0.00", 1.005, "1.01"},
        {"0.0", -0.05, "-0.1"},
        {"0.00", -0.004, "0.00"},
        {"#,##0.00", 999999.995, "1,000,000.00"},
        {"0.##", 2.675, "2.68"},
        {"0.##", 2.5, "2.5"},
        {"#,##0", -1234567.5, "-1,234,568"},
        {"0;(0)", -2.5, "(3)"},
        {"0.00;;zero", 0, "zero"},
        {"\"₩\"#,##0", 99.5, "₩100"},
        {"000.0", 1.25, "001.3"},
        // Below the last shown digit: zero, with no trail of zeros and no sign.
        {"#,##0.00", 0.1 + 0.2 - 0.3, "0.00"},
        {"#,##0.00", 0.3 - 0.1 - 0.2, "0.00"},
        {"#,##0", 0.04, "0"},
        {"#,##0", -0.04, "0"},
        {"0.00", -0.0004, "0.00"},
        {"0.00", 0.0004, "0.00"},
        {"0.00", 1e-300, "0.00"},
        {"0.00", -1e-300, "0.00"},
        {"0.##", 0.004, "0"},
        {"0.##", -0.004, "0"},
        {"0", 0.4, "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TXFormatFloat(QString::fromUtf8(c.Pattern), c.Value), QString::fromUtf8(c.Text)) << c.Pattern << " " << c.Value;
}

TEST(Formats, RegressionTheCLocaleScopeRestoresTheLocalePath)
{
    const char *before = std::getenv("LOCPATH");
    const std::optional<std::string> expected = before ? std::optional<std::string>(before) : std::nullopt;
    for (int i = 0; i < 2; ++i) {
        const CLocaleScope german("de_DE.UTF-8");
        EXPECT_TRUE(german.Active()) << "a second scope finds the generated locale again";
    }
    const char *after = std::getenv("LOCPATH");
    EXPECT_EQ(after ? std::optional<std::string>(after) : std::nullopt, expected);
}

TEST(Formats, RegressionTextsDoNotDependOnTheCLocale)
{
    const CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 could not be generated: scripts/setup installs the locales package";
    EXPECT_EQ(TXFormatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1,234.50"));
    EXPECT_EQ(TXFormatFloat(QStringLiteral("0.00"), -0.125), QStringLiteral("-0.13"));
    EXPECT_EQ(TXFloatToText(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(TXTextToFloat(TXFloatToText(2.5)), 2.5);
    EXPECT_EQ(TXFloatToText(-1.5e-5), QStringLiteral("-1.5E-5"));
    EXPECT_EQ(TXFloatToText(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(TXFloatToText(123456789.123456789), QStringLiteral("123456789.123457"));
    EXPECT_EQ(TXDateTimeToText(TXTextToDateTime(QStringLiteral("2024-02-29 13:05:09"))), QStringLiteral("2024-02-29 13:05:09"));
}

TEST(Formats, RegressionDatesParseInTheOrderOfTheShortDateFormat)
{
    const GridLocaleScope scope;
    struct Case
    {
        const char *Format;
        const char *Text;
        int Date; // yyyymmdd, 0 = not a date
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "05/03/2024", 20240305},
        {"dd/mm/yyyy", "29/02/2024", 20240229},
        {"dd/mm/yyyy", "5.3.24", 20240305},
        {"dd/mm/yyyy", "2024-03-05", 20240305}, // a year written first is always year-month-day
        {"dd/mm/yyyy", "20240305", 20240305},
        {"mm/dd/yyyy", "05/03/2024", 20240503},
        {"yyyy-mm-dd", "2024-3-5", 20240305},
        {"yy.mm.dd", "24.03.05", 20240305},
        {"dd/mm/yyyy", "31/02/2024", 0},
        {"dd/mm/yyyy", "05/03", 0},
        {"dd/mm/yyyy", "05/03/2024x", 0},
        {"dd/mm/yyyy", "", 0},
        {"yyyy/dd/mm", "2024/05/03", 20240305},
        {"yyyy/dd/mm", "24/05/03", 20240305},
        {"yyyy. mm. dd", "2024. 03. 05", 20240305},
        {"dd. mm. yyyy", "05. 03. 2024", 20240305},
        {"yyyy. mm. dd", "2024.  03.05", 20240305},
        {"yyyy. mm. dd", "2024 .03.05", 0},
    };
    for (const Case &c : cases) {
        TwLocale::Current().ShortDateFormat = QString::fromLatin1(c.Format);
        const QString text = QString::fromLatin1(c.Text);
        if (c.Date == 0) {
            EXPECT_EQ(ErrorOf([&text] { TXTextToDate(text); }), QStringLiteral("'%1' is not a valid date").arg(text)) << c.Format;
            continue;
        }
        EXPECT_EQ(TXDateToInt(TXTextToDate(text)), c.Date) << c.Format << " " << c.Text;
    }
}

TEST(Formats, RegressionDatesWithBlankSeparatorsReadBackWhatIsWritten)
{
    const GridLocaleScope scope;
    for (const char *format : {"yyyy. mm. dd", "dd. mm. yyyy", "yyyy/dd/mm", "mm/dd/yyyy"}) {
        TwLocale::Current().ShortDateFormat = QString::fromLatin1(format);
        const TDateTime date = TXIntToDate(20240305);
        const QString text = TXDateToText(date);
        EXPECT_EQ(TXTextToDate(text), date) << format << " " << text.toStdString();
    }
}

TEST(Formats, TimesParseWithTheirSeparatorsAndHalfDays)
{
    const struct
    {
        const char *Text;
        int Time; // hhmmss, -1 = not a time
    } cases[] = {
        {"13:05", 130500}, {"13:05:09", 130509}, {"1:05 PM", 130500}, {"12:00 am", 0},
        {"23:59:59.999", 235959}, {"25:00", -1}, {"12:", -1}, {"12:00 xm", -1},
        {"23:59:59.9996", 235959}, {"10:00:00.123456 PM", 220000}, {"10:00:00.", -1},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.Text);
        if (c.Time < 0)
            EXPECT_EQ(ErrorOf([&text] { TXTextToTime(text); }), QStringLiteral("'%1' is not a valid time").arg(text));
        else
            EXPECT_EQ(TXTimeToInt(TXTextToTime(text)), c.Time) << c.Text;
    }
}

TEST(Formats, RegressionTimeJustBeforeMidnightKeepsItsDay)
{
    const double day = TXIntToDate(20240229);
    const double lastInstant = day + 86399999.6 / 86400000.0; // 23:59:59.9996
    EXPECT_EQ(TXTimeToText(lastInstant), QStringLiteral("23:59:59"));
    EXPECT_EQ(TXDateTimeToText(lastInstant), QStringLiteral("2024-02-29 23:59:59"));
    EXPECT_EQ(TXTimeFrom(lastInstant).msec(), 999);
    EXPECT_EQ(TXDateToInt(lastInstant), 20240229);
    EXPECT_EQ(TXTimeToText(day + 43200999.6 / 86400000.0), QStringLiteral("12:00:00")) << "never rounded into the next second";
    for (int time : {0, 100000, 235959, 120001})
        EXPECT_EQ(TXTimeToInt(day + TXIntToTime(time)), time) << "the serial's binary error is absorbed";
}

TEST(Formats, RegressionValuesThatAreNoNumberOrDateShowWithoutGarbage)
{
    const GridLocaleScope scope;
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TXFormatFloat(QStringLiteral("#,##0.00"), nan), QStringLiteral("NAN"));
    EXPECT_EQ(TXFormatFloat(QStringLiteral("#,##0.00"), inf), QStringLiteral("INF"));
    EXPECT_EQ(TXFormatFloat(QStringLiteral("0;(0)"), -inf), QStringLiteral("-INF"));
    for (const double serial : {nan, inf, -inf, 1e300, -1e300, 2e9}) {
        EXPECT_EQ(TXFormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn"), serial), QString()) << serial;
        EXPECT_EQ(TXDateTimeToText(serial), QString()) << serial;
        EXPECT_FALSE(TXDateFrom(serial).isValid()) << serial;
        EXPECT_FALSE(TXTimeFrom(serial).isValid()) << serial;
    }
    // Years before year 1 keep their sign ahead of the digits.
    EXPECT_EQ(TXFormatDateTime(QStringLiteral("yyyy-mm-dd"), TXDateOf(QDate(-44, 3, 15))), QStringLiteral("-0044-03-15"));
    EXPECT_EQ(TXFormatDateTime(QStringLiteral("yyyy-mm-dd"), -1e6), QStringLiteral("-0839-02-02"));
}

TEST(Formats, RegressionDateTimesBeforeTheEpochRoundTrip)
{
    const GridLocaleScope scope;
    for (const char *text : {"1899-12-28 06:00:00", "1899-12-29 23:59:59", "1899-12-30 06:00:00", "1800-01-01 12:00:00",
                             "1899-12-29", "2024-02-29 13:05:09"}) {
        const QString written = QString::fromLatin1(text);
        EXPECT_EQ(TXDateTimeToText(TXTextToDateTime(written)), written);
    }
    EXPECT_EQ(TXTextToDateTime(QStringLiteral("1899-12-28 06:00:00")), -1.75) << "the serial counts on through the epoch";
    TDateTime date = 0;
    TDateTime time = 0;
    TXDecodeDateTime(-1.75, date, time);
    EXPECT_EQ(date, -2);
    EXPECT_EQ(time, 0.25);
}

TEST(Formats, RegressionHalfDayPatternsCountHoursToTwelve)
{
    const struct
    {
        const char *Pattern;
        int Time; // hhmmss
        const char *Text;
    } cases[] = {
        {"h:nn am/pm", 150500, "3:05 PM"}, {"hh:nn AM/PM", 30, "12:00 AM"}, {"h:nn am/pm", 120000, "12:00 PM"},
        {"h:nn am/pm", 93000, "9:30 AM"},  {"hh:nn", 150500, "15:05"},      {"h:nn", 500, "0:05"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TXFormatDateTime(QString::fromLatin1(c.Pattern), TXIntToTime(c.Time)), QString::fromLatin1(c.Text)) << c.Pattern;
}
