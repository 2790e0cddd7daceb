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

TwDateFormats Korean() { return TwDateFormats::FromLocale(QLocale(QLocale::Korean, QLocale::SouthKorea)); }

// A picture file in the build folder, named after the platform the test runs on.
QString PictureName(const char *name)
{
    return QStringLiteral("%1-%2.png").arg(QString::fromLatin1(name), QGuiApplication::platformName());
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
    QString Shown() { return edit.findChild<QLineEdit *>()->text(); }
};

} // namespace

// --- format translation ---------------------------------------------------------------

TEST(DateEditFormat, ComponentLettersBecomePickerLetters)
{
    struct Row
    {
        const char *format;
        const char *picker;
    } rows[] = {
        { "yyyy-mm-dd hh:nn", "yyyy-MM-dd HH':'mm" }, { "yyyy-mm-dd hh:nn am/pm", "yyyy-MM-dd hh':'mm tt" },
        { "hh:nn:ss ampm", "hh':'mm':'ss tt" }, { "a/p h:nn", "tt h':'mm" }, { "yyyy/mm/dd", "yyyy'-'MM'-'dd" },
        { "yy\"년\" m\"월\"", "yy'년' M'월'" }, { "'hh nn' hh", "'hh nn' HH" }, { "ddddd", "yyyy-MM-dd" },
        { "c", "yyyy-MM-dd" }, { "dddddd", "dddd, d MMMM yyyy" }, { "t", "HH:mm" }, { "tt", "HH:mm:ss" },
        { "AM/PM hh", "AM'-'PM HH" }, // case-sensitive: only the lower-case markers count
    };
    for (const Row &row : rows)
        EXPECT_EQ(TXPickerFormat(QString::fromUtf8(row.format), Formats()), QString::fromUtf8(row.picker))
            << row.format;
}

TEST(DateEditFormat, PickerLettersBecomeQtLetters)
{
    EXPECT_EQ(TXPickerToQtFormat(QStringLiteral("yyyy-MM-dd HH':'mm")), QStringLiteral("yyyy-MM-dd HH':'mm"));
    EXPECT_EQ(TXPickerToQtFormat(QStringLiteral("hh':'mm tt")), QStringLiteral("hh':'mm AP"));
    EXPECT_EQ(TXPickerToQtFormat(QStringLiteral("yy/M/d")), QStringLiteral("yy/M/d"));
    // Letters that mean nothing to the picker stay literal and are not read by Qt.
    EXPECT_EQ(TXPickerToQtFormat(QStringLiteral("dd AP")), QStringLiteral("dd 'A''P'"));
}

TEST(DateEditFormat, QtLettersBecomePickerLetters)
{
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("AP h:mm")), QStringLiteral("tt h:mm"));
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("a h시 m분 s초 t")), QStringLiteral("tt h시 m분 s초"));
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("HH:mm:ss.zzz")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("y년 M월 d일 dddd")), QStringLiteral("yyyy년 M월 d일 dddd"));
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("yy. M. d.")), QStringLiteral("yy. M. d."));
    EXPECT_EQ(TXQtToPickerFormat(QStringLiteral("'at' HH")), QStringLiteral("'at' HH"));
}

TEST(DateEditFormat, KoreanLocaleFormatsKeepTheirMeaning)
{
    const TwDateFormats ko = Korean();
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
    TwDateEdit timeEdit;
    timeEdit.setLocale(locale);
    timeEdit.SetDateFormats(ko);
    timeEdit.SetKind(dtkTime);
    timeEdit.SetEditFormat(QStringLiteral("tt"));
    timeEdit.SetLong(140509);
    EXPECT_EQ(timeEdit.text(), locale.toString(QTime(14, 5, 9), QStringLiteral("AP h시 m분 s초")));
}

TEST(DateEditFormat, TwelveHourFormatShowsAmPm)
{
    TwDateEdit edit;
    edit.setLocale(QLocale::c());
    edit.SetDateFormats(Formats());
    edit.SetKind(dtkTime);
    edit.SetEditFormat(QStringLiteral("hh:nn am/pm"));
    EXPECT_EQ(edit.PickerFormat(), QStringLiteral("hh':'mm tt"));
    EXPECT_EQ(edit.displayFormat(), QStringLiteral("hh':'mm AP"));
    edit.SetLong(140500);
    EXPECT_EQ(edit.text(), QStringLiteral("02:05 PM"));
    edit.SetEditFormat(QStringLiteral("hh:nn"));
    EXPECT_EQ(edit.text(), QStringLiteral("14:05"));
}

TEST(DateEditFormat, EmptyFormatUsesTheLocaleDefault)
{
    TwDateEdit edit;
    edit.SetDateFormats(Formats());
    EXPECT_EQ(edit.PickerFormat(), QStringLiteral("yyyy-MM-dd"));
    edit.SetKind(dtkTime);
    EXPECT_EQ(edit.PickerFormat(), QStringLiteral("HH:mm:ss"));
}

// --- published defaults ------------------------------------------------------------

TEST(DateEditProperties, Defaults)
{
    TwDateEdit edit;
    EXPECT_EQ(edit.property("EditFormat").toString(), QString());
    EXPECT_TRUE(edit.property("EnableNull").toBool());
    EXPECT_TRUE(edit.property("FocusRect").toBool());
    EXPECT_FALSE(edit.IsNull());
    EXPECT_EQ(edit.Kind(), dtkDate);
    EXPECT_EQ(edit.DateMode(), dmComboBox);
    EXPECT_TRUE(edit.calendarPopup());
}

// --- integer access --------------------------------------------------------------------

TEST_F(DateEditFixture, AsLongIsYyyymmdd)
{
    EXPECT_EQ(edit.GetLong(), 2005 * 10000 + 3 * 100 + 7);
    EXPECT_EQ(edit.date(), QDate(2005, 3, 7));
    EXPECT_EQ(Shown(), QStringLiteral("2005-03-07"));
    edit.SetLong(20240229);
    EXPECT_EQ(edit.GetLong(), 20240229);
}

TEST(DateEditLong, TimeKindIsHhmmss)
{
    TwDateEdit edit;
    edit.SetKind(dtkTime);
    edit.SetLong(235959);
    EXPECT_EQ(edit.time(), QTime(23, 59, 59));
    EXPECT_EQ(edit.GetLong(), 235959);
    edit.SetLong(0);
    EXPECT_EQ(edit.GetLong(), 0);
}

TEST_F(DateEditFixture, InvalidIntegersAreConversionErrors)
{
    EXPECT_EQ(ErrorOf([&] { edit.SetLong(20240230); }), QStringLiteral("'20240230' is not a valid date (yyyymmdd)"));
    EXPECT_EQ(ErrorOf([&] { edit.SetLong(20241301); }), QStringLiteral("'20241301' is not a valid date (yyyymmdd)"));
    EXPECT_EQ(ErrorOf([&] { edit.SetLong(0); }), QStringLiteral("'0' is not a valid date (yyyymmdd)"));
    EXPECT_EQ(edit.GetLong(), 20050307); // unchanged, not 30 Dec 1899
    edit.Clear();
    EXPECT_THROW(edit.SetLong(-5), TException);
    EXPECT_TRUE(edit.IsNull()); // a refused value leaves the null state as it was

    TwDateEdit time;
    time.SetKind(dtkTime);
    time.SetLong(101500);
    EXPECT_EQ(ErrorOf([&] { time.SetLong(250000); }), QStringLiteral("'250000' is not a valid time (hhmmss)"));
    EXPECT_THROW(time.SetLong(106000), TException);
    EXPECT_THROW(time.SetLong(100060), TException);
    EXPECT_THROW(time.SetLong(-1), TException);
    EXPECT_EQ(time.GetLong(), 101500); // not midnight
}

TEST_F(DateEditFixture, NullAsLongIsZeroAndStringEmpty)
{
    edit.Clear();
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.GetLong(), 0);
    EXPECT_EQ(edit.GetString(), QString());
    edit.SetLong(20050308);
    EXPECT_FALSE(edit.IsNull());
}

TEST_F(DateEditFixture, AsStringUsesTheShortDateText)
{
    TwLocale::Current().ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    EXPECT_EQ(edit.GetString(), QStringLiteral("2005-03-07"));
    edit.SetString(QStringLiteral("2006-01-02"));
    EXPECT_EQ(edit.GetLong(), 20060102);
}

// --- null state and keys --------------------------------------------------------------

TEST_F(DateEditFixture, DeleteMakesNullOnlyWhenEnabled)
{
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.GetLong(), 0);

    edit.SetEnableNull(false);
    EXPECT_FALSE(edit.IsNull()); // switching EnableNull off clears the null state
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_FALSE(edit.IsNull());
    edit.SetIsNull(true);
    EXPECT_FALSE(edit.IsNull());
}

TEST_F(DateEditFixture, DigitOrDotLeavesNull)
{
    for (const char key : { '2', '.' }) {
        edit.Clear();
        QTest::keyClick(&edit, key);
        EXPECT_FALSE(edit.IsNull()) << key;
        EXPECT_EQ(edit.currentSectionIndex(), 0) << key;
    }
}

TEST_F(DateEditFixture, DigitsTypedWhileNullGoIntoTheFirstField)
{
    edit.SetEditFormat(QStringLiteral("yyyy-mm-dd"));
    edit.Clear();
    QTest::keyClicks(&edit, QStringLiteral("1999"));
    EXPECT_FALSE(edit.IsNull());
    EXPECT_EQ(edit.date().year(), 1999);
}

TEST_F(DateEditFixture, OtherCharactersAreSwallowedWhileNull)
{
    edit.Clear();
    QTest::keyClick(&edit, 'x');
    QTest::keyClick(&edit, ' ');
    EXPECT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.date(), QDate(2005, 3, 7));
}

TEST_F(DateEditFixture, HomeLeavesNullWithNow)
{
    edit.Clear();
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_FALSE(edit.IsNull());
    EXPECT_EQ(edit.date(), QDate::currentDate());
}

TEST_F(DateEditFixture, ReadOnlyIgnoresNullKeys)
{
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_FALSE(edit.IsNull());
    edit.setReadOnly(false);
    edit.Clear();
    edit.setReadOnly(true);
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_TRUE(edit.IsNull());
}

TEST_F(DateEditFixture, UpDownChangeLeavesNull)
{
    edit.SetDateMode(dmUpDown);
    EXPECT_FALSE(edit.calendarPopup());
    edit.Clear();
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_FALSE(edit.IsNull());
}

TEST_F(DateEditFixture, NullPaintsAnEmptyField)
{
    auto darkPixels = [&] {
        const QImage image = edit.findChild<QLineEdit *>()->grab().toImage();
        int dark = 0;
        for (int y = 3; y < image.height() - 3; ++y)
            for (int x = 3; x < image.width() - 3; ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        return dark;
    };
    edit.SetFocusRect(false);
    EXPECT_GT(darkPixels(), 20); // the date's digits
    edit.grab().save(PictureName("dateedit-value"));
    edit.Clear();
    EXPECT_EQ(darkPixels(), 0);
    edit.grab().save(PictureName("dateedit-null"));
}

TEST_F(DateEditFixture, FocusedNullFieldShowsAFocusRectangle)
{
    edit.activateWindow();
    QApplication::setActiveWindow(&edit);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    edit.setFocus();
    ASSERT_TRUE(edit.hasFocus());
    edit.Clear();
    auto darkRing = [&] {
        const QImage image = edit.findChild<QLineEdit *>()->grab().toImage();
        int dark = 0;
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, 1)) < 128;
        return dark;
    };
    EXPECT_GT(darkRing(), 5);
    edit.grab().save(PictureName("dateedit-null-focused"));
    edit.SetFocusRect(false);
    EXPECT_EQ(darkRing(), 0);
}

TEST_F(DateEditFixture, F4AndAltDownOpenTheCalendarOnTheHeldDate)
{
    for (const bool alt : { false, true }) {
        edit.Clear();
        if (alt)
            QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
        else
            QTest::keyClick(&edit, Qt::Key_F4);
        EXPECT_FALSE(edit.IsNull());
        QCalendarWidget *calendar = edit.calendarWidget();
        ASSERT_NE(calendar, nullptr);
        for (int i = 0; i < 50 && !calendar->isVisible(); ++i)
            QTest::qWait(20);
        ASSERT_TRUE(calendar->isVisible()) << (alt ? "Alt+Down" : "F4");
        EXPECT_EQ(calendar->selectedDate(), QDate(2005, 3, 7));
        calendar->window()->grab().save(PictureName("dateedit-calendar"));
        calendar->window()->hide();
    }
}
