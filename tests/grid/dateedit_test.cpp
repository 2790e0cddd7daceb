#include "grid/uxdedit.h"
#include "grid/uxlocale.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TwDateFormats Formats()
{
    TwDateFormats f;
    f.ShortDate = QStringLiteral("yyyy-MM-dd");
    f.LongDate = QStringLiteral("dddd, d MMMM yyyy");
    f.ShortTime = QStringLiteral("HH:mm");
    f.LongTime = QStringLiteral("HH:mm:ss");
    f.DateSeparator = QStringLiteral("-");
    f.TimeSeparator = QStringLiteral(":");
    return f;
}

struct DateEditFixture : ::testing::Test
{
    TwDateEdit edit;
    void SetUp() override
    {
        edit.setLocale(QLocale::c());
        edit.SetDateFormats(Formats());
        edit.SetEditFormat(QStringLiteral("yyyy-mm-dd"));
        edit.resize(140, 22);
        edit.show();
        edit.setFocus();
        edit.SetLong(20050307);
    }
    QImage Field() { return edit.findChild<QLineEdit *>()->grab().toImage(); }
};

} // namespace

TEST(DateEditFormat, TranslationsBetweenStoredPickerAndQtLetters)
{
    const struct
    {
        const char *from, *to;
    } toPicker[] = {
        { "yyyy-mm-dd hh:nn", "yyyy-MM-dd HH':'mm" }, { "yyyy-mm-dd hh:nn am/pm", "yyyy-MM-dd hh':'mm tt" },
        { "hh:nn:ss ampm", "hh':'mm':'ss tt" }, { "a/p h:nn", "tt h':'mm" }, { "yyyy/mm/dd", "yyyy'-'MM'-'dd" },
        { "yy\"년\" m\"월\"", "yy'년' M'월'" }, { "'hh nn' hh", "'hh nn' HH" }, { "ddddd", "yyyy-MM-dd" },
        { "c", "yyyy-MM-dd" }, { "dddddd", "dddd, d MMMM yyyy" }, { "t", "HH:mm" }, { "tt", "HH:mm:ss" },
        { "AM/PM hh", "AM'-'PM HH" }, // case-sensitive: only the lower-case markers count
    },
      pickerToQt[] = {
          { "yyyy-MM-dd HH':'mm", "yyyy-MM-dd HH':'mm" }, { "hh':'mm tt", "hh':'mm AP" }, { "yy/M/d", "yy/M/d" },
          { "dd AP", "dd 'A''P'" }, // letters that mean nothing to the picker stay literal
      },
      qtToPicker[] = {
          { "AP h:mm", "tt h:mm" }, { "a h시 m분 s초 t", "tt h시 m분 s초" }, { "HH:mm:ss.zzz", "HH:mm:ss" },
          { "y년 M월 d일 dddd", "yyyy년 M월 d일 dddd" }, { "yy. M. d.", "yy. M. d." }, { "'at' HH", "'at' HH" },
      };
    for (const auto &row : toPicker)
        EXPECT_EQ(TXPickerFormat(QString::fromUtf8(row.from), Formats()), QString::fromUtf8(row.to)) << row.from;
    for (const auto &row : pickerToQt)
        EXPECT_EQ(TXPickerToQtFormat(QString::fromUtf8(row.from)), QString::fromUtf8(row.to)) << row.from;
    for (const auto &row : qtToPicker)
        EXPECT_EQ(TXQtToPickerFormat(QString::fromUtf8(row.from)), QString::fromUtf8(row.to)) << row.from;
}

TEST(DateEditFormat, KoreanLocaleFormatsKeepTheirMeaning)
{
    const TwDateFormats ko = TwDateFormats::FromLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    const QLocale locale(QLocale::Korean, QLocale::SouthKorea);
    const QDate date(2005, 3, 7);
    // The locale's short date shows as the locale itself formats it.
    const QString picker = TXPickerFormat(QStringLiteral("ddddd"), ko);
    EXPECT_EQ(locale.toString(date, TXPickerToQtFormat(picker)), locale.toString(date, QLocale::ShortFormat))
        << picker.toStdString();
    // Its short time has the AM/PM marker in Qt's letters: a 12-hour picker format.
    const QTime time(14, 5);
    const QString timePicker = TXPickerFormat(QStringLiteral("t"), ko);
    EXPECT_TRUE(timePicker.contains(QStringLiteral("tt"))) << timePicker.toStdString();
    EXPECT_EQ(locale.toString(time, TXPickerToQtFormat(timePicker)), locale.toString(time, QLocale::ShortFormat));
    // "/" is the locale's date separator.
    EXPECT_EQ(
        TXPickerFormat(QStringLiteral("yyyy/mm/dd"), ko), QStringLiteral("yyyy'%1'MM'%1'dd").arg(ko.DateSeparator));

    TwDateEdit edit;
    edit.setLocale(locale);
    edit.SetDateFormats(ko);
    edit.SetEditFormat(QStringLiteral("ddddd"));
    edit.SetLong(20050307);
    EXPECT_EQ(edit.text(), locale.toString(date, QLocale::ShortFormat));
    // The long time shows without Qt's time zone field, which the picker cannot show.
    edit.SetKind(dtkTime);
    edit.SetEditFormat(QStringLiteral("tt"));
    edit.SetLong(140509);
    EXPECT_EQ(edit.text(), locale.toString(QTime(14, 5, 9), QStringLiteral("AP h시 m분 s초")));
}

TEST(DateEditFormat, TwelveHourFormatShowsAmPmAndEmptyFormatUsesTheLocale)
{
    TwDateEdit edit;
    edit.setLocale(QLocale::c());
    edit.SetDateFormats(Formats());
    EXPECT_EQ(edit.PickerFormat(), QStringLiteral("yyyy-MM-dd"));
    edit.SetKind(dtkTime);
    EXPECT_EQ(edit.PickerFormat(), QStringLiteral("HH:mm:ss"));
    edit.SetEditFormat(QStringLiteral("hh:nn am/pm"));
    EXPECT_EQ(edit.displayFormat(), QStringLiteral("hh':'mm AP"));
    edit.SetLong(140500);
    EXPECT_EQ(edit.text(), QStringLiteral("02:05 PM"));
    edit.SetEditFormat(QStringLiteral("hh:nn"));
    EXPECT_EQ(edit.text(), QStringLiteral("14:05"));
}

TEST_F(DateEditFixture, AsLongIsYyyymmddOrHhmmssAndNullIsZero)
{
    EXPECT_EQ(edit.date(), QDate(2005, 3, 7));
    EXPECT_EQ(edit.findChild<QLineEdit *>()->text(), QStringLiteral("2005-03-07"));
    edit.SetLong(20240229);
    EXPECT_EQ(edit.GetLong(), 20240229);
    TwLocale::Current().ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    edit.SetString(QStringLiteral("2006-01-02"));
    EXPECT_EQ(edit.GetLong(), 20060102);
    EXPECT_EQ(edit.GetString(), QStringLiteral("2006-01-02"));
    edit.Clear();
    EXPECT_EQ(edit.GetLong(), 0);
    EXPECT_EQ(edit.GetString(), QString());

    TwDateEdit time;
    time.SetKind(dtkTime);
    time.SetLong(235959);
    EXPECT_EQ(time.time(), QTime(23, 59, 59));
    EXPECT_EQ(time.GetLong(), 235959);
    time.SetLong(0);
    EXPECT_EQ(time.GetLong(), 0);
}

TEST_F(DateEditFixture, InvalidIntegersAreConversionErrors)
{
    for (const int bad : { 20240230, 20241301, 0 })
        EXPECT_EQ(ErrorOf([&] { edit.SetLong(bad); }), QStringLiteral("'%1' is not a valid date (yyyymmdd)").arg(bad));
    EXPECT_EQ(edit.GetLong(), 20050307); // unchanged, not 30 Dec 1899
    edit.Clear();
    EXPECT_THROW(edit.SetLong(-5), TException);
    EXPECT_TRUE(edit.IsNull()); // a refused value leaves the null state as it was

    TwDateEdit time;
    time.SetKind(dtkTime);
    time.SetLong(101500);
    EXPECT_EQ(ErrorOf([&] { time.SetLong(250000); }), QStringLiteral("'250000' is not a valid time (hhmmss)"));
    for (const int bad : { 106000, 100060, -1 })
        EXPECT_THROW(time.SetLong(bad), TException) << bad;
    EXPECT_EQ(time.GetLong(), 101500); // not midnight
}

TEST_F(DateEditFixture, DeleteMakesNullOnlyWhenEnabled)
{
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_TRUE(edit.IsNull());
    edit.SetEnableNull(false);
    EXPECT_FALSE(edit.IsNull()); // switching EnableNull off clears the null state
    QTest::keyClick(&edit, Qt::Key_Delete);
    edit.SetIsNull(true);
    EXPECT_FALSE(edit.IsNull());
}

TEST_F(DateEditFixture, KeysWhileNull)
{
    // Digits go into the first field; a dot leaves null there too.
    edit.Clear();
    QTest::keyClicks(&edit, QStringLiteral("1999"));
    EXPECT_FALSE(edit.IsNull());
    EXPECT_EQ(edit.date().year(), 1999);
    edit.Clear();
    QTest::keyClick(&edit, '.');
    EXPECT_FALSE(edit.IsNull());
    EXPECT_EQ(edit.currentSectionIndex(), 0);
    // Other characters are swallowed.
    edit.Clear();
    QTest::keyClicks(&edit, QStringLiteral("x "));
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.date(), QDate(1999, 3, 7));
    // Home leaves null with today, but not when read-only.
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_TRUE(edit.IsNull());
    edit.setReadOnly(false);
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_EQ(edit.date(), QDate::currentDate());
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_FALSE(edit.IsNull());
    // Up/Down of the spin mode leaves null too.
    edit.setReadOnly(false);
    edit.SetDateMode(dmUpDown);
    EXPECT_FALSE(edit.calendarPopup());
    edit.Clear();
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_FALSE(edit.IsNull());
}

TEST_F(DateEditFixture, NullPaintsAnEmptyFieldWithAFocusRectangle)
{
    const auto darkPixels = [this](int fromRow, int toRow) {
        const QImage image = Field();
        int dark = 0;
        for (int y = fromRow; y < qMin(toRow, image.height() - 3); ++y)
            for (int x = 3; x < image.width() - 3; ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        return dark;
    };
    edit.SetFocusRect(false);
    EXPECT_GT(darkPixels(3, 100), 20); // the date's digits
    edit.Clear();
    EXPECT_EQ(darkPixels(3, 100), 0);

    const auto darkRing = [this] {
        const QImage image = Field();
        int dark = 0;
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, 1)) < 128;
        return dark;
    };
    edit.SetFocusRect(true);
    edit.activateWindow();
    QApplication::setActiveWindow(&edit);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    edit.setFocus();
    ASSERT_TRUE(edit.hasFocus());
    EXPECT_GT(darkRing(), 5);
    edit.grab().save(PicturePath(QStringLiteral("dateedit-null-focused-%1.png").arg(QGuiApplication::platformName())));
    edit.SetFocusRect(false);
    EXPECT_EQ(darkRing(), 0);
}

TEST_F(DateEditFixture, F4AndAltDownOpenTheCalendarOnTheHeldDate)
{
    for (const bool alt : { false, true }) {
        edit.Clear();
        QTest::keyClick(&edit, alt ? Qt::Key_Down : Qt::Key_F4, alt ? Qt::AltModifier : Qt::NoModifier);
        EXPECT_FALSE(edit.IsNull());
        QCalendarWidget *calendar = edit.calendarWidget();
        ASSERT_NE(calendar, nullptr);
        for (int i = 0; i < 50 && !calendar->isVisible(); ++i)
            QTest::qWait(20);
        ASSERT_TRUE(calendar->isVisible()) << (alt ? "Alt+Down" : "F4");
        EXPECT_EQ(calendar->selectedDate(), QDate(2005, 3, 7));
        calendar->window()->hide();
    }
}
