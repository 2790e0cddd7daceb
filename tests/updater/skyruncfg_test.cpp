#include "testsupport.h"

#include "updater/skyruncfg.h"
#include "updater/skyrunlib.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

template <typename T> T *Child(const QWidget &form, const char *name)
{
    T *child = form.findChild<T *>(QString::fromLatin1(name));
    if (!child)
        ADD_FAILURE() << "no control " << name;
    return child;
}

// The controls as one row: host|port|path|user|password|passive|type.
QString Shown(const TForm2 &form)
{
    QStringList values;
    for (const char *name : {"edtIP", "edtPort", "edtPath", "edtID", "edtPW"})
        values.append(Child<QLineEdit>(form, name)->text());
    values.append(Child<QCheckBox>(form, "chkPassive")->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QRadioButton *item : form.findChildren<QRadioButton *>()) {
        if (item->isChecked())
            values.append(item->text());
    }
    return values.join(QLatin1Char('|'));
}

QString Row(const TServerInfo &info)
{
    return QStringList({info.IP, info.Port, info.Path, info.ID, info.PW,
                        info.Passive ? QStringLiteral("1") : QStringLiteral("0"), info.TransType})
        .join(QLatin1Char('|'));
}

void Click(const TForm2 &form, const char *button)
{
    QTest::mouseClick(Child<QAbstractButton>(form, button), Qt::LeftButton);
}

class SkyrunConfigTest : public ::testing::Test
{
protected:
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString IniText() const
    {
        return QString::fromLatin1(ReadFileBytes(Folder() + QString::fromLatin1(SkyrunIniName)));
    }

    QTemporaryDir m_dir;
};

TEST_F(SkyrunConfigTest, ShowsTheSettingsAndSavesTheTypeUpperCase)
{
    WriteServerInfo({QStringLiteral("ftp.tovel.co.kr"), QStringLiteral("2121"), true, QStringLiteral("/upd;+bin"),
                        QStringLiteral("관리자"), QStringLiteral("pw"), QStringLiteral("sftp"), {}},
        Folder());
    TForm2 form(Folder());
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("파일버전관리(환경설정)"));
    EXPECT_EQ(Shown(form), QStringLiteral("ftp.tovel.co.kr|2121|/upd;+bin|관리자|pw|1|SFTP"));
    Click(form, "btnSave");
    EXPECT_TRUE(IniText().contains(QStringLiteral("TRANSTYPE=SFTP\r\n"))) << IniText().toStdString();

    // What the controls hold is what a run reads, untrimmed.
    Child<QLineEdit>(form, "edtPath")->setText(QStringLiteral(" /new "));
    Child<QLineEdit>(form, "edtPort")->clear();
    Child<QCheckBox>(form, "chkPassive")->setChecked(false);
    auto *ftp = Child<QRadioButton>(form, "rgTypeFTP");
    QTest::mouseClick(ftp, Qt::LeftButton, {}, QPoint(6, ftp->height() / 2)); // on its circle
    Click(form, "btnSave");
    EXPECT_EQ(Row(ReadServerInfo(Folder())), QStringLiteral("ftp.tovel.co.kr|21| /new |관리자|pw|0|FTP"));
    EXPECT_TRUE(form.isVisible());
    Click(form, "btnClose");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SkyrunConfigTest, MissingSettingsShowTheDefaults)
{
    TForm2 form(Folder());
    form.show();
    EXPECT_EQ(Shown(form), QStringLiteral("|21|/|||0|FTP"));
}

// Typed characters the host or port cannot hold are discarded; pasted text is not
// checked, and is saved as it stands.
TEST_F(SkyrunConfigTest, KeyFiltersDiscardTypedCharactersOnly)
{
    TForm2 form(Folder());
    form.show();
    auto *host = Child<QLineEdit>(form, "edtIP");
    auto *port = Child<QLineEdit>(form, "edtPort");
    host->clear();
    port->clear();
    QTest::keyClicks(host, QStringLiteral("a-b.1"));
    QTest::keyClicks(port, QStringLiteral("12x3"));
    EXPECT_EQ(host->text() + QLatin1Char('|') + port->text(), QStringLiteral("ab.1|123"));
    QTest::keyClick(port, Qt::Key_Backspace);
    QTest::keyClicks(port, QStringLiteral("4567"));
    EXPECT_EQ(port->text(), QStringLiteral("12456"));

    host->clear();
    port->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("a-b"));
    QTest::keySequence(host, QKeySequence::Paste);
    QGuiApplication::clipboard()->setText(QStringLiteral("8x"));
    QTest::keySequence(port, QKeySequence::Paste);
    Click(form, "btnSave");
    EXPECT_EQ(Row(ReadServerInfo(Folder())), QStringLiteral("a-b|8x|/|||0|FTP"));
}

TEST_F(SkyrunConfigTest, UnreadableSettingsAreReportedAndFillNothing)
{
    // Plain digits where Base64 belongs.
    WriteFileBytes(Folder() + QString::fromLatin1(SkyrunIniName), "[FILESERVER]\r\nIP=aG9zdA==\r\nPORT=21\r\n");
    MessageBoxRecorder boxes;
    TForm2 form(Folder());
    form.show();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, QStringLiteral("Base64: Incorrect string format"));
    EXPECT_EQ(Shown(form), QStringLiteral("edtIP|edtPort|edtPath|edtID|edtPW|0|FTP"));
}

// A text the settings file's code page cannot hold: the file keeps its bytes, the window
// its values.
TEST_F(SkyrunConfigTest, AFailedSaveIsReportedAndLosesNothing)
{
    WriteServerInfo(
        {QStringLiteral("host"), QStringLiteral("21"), false, QStringLiteral("/"), {}, {}, QStringLiteral("FTP"), {}},
        Folder());
    const QString before = IniText();
    TForm2 form(Folder());
    form.show();
    MessageBoxRecorder boxes;
    Child<QLineEdit>(form, "edtPath")->setText(QStringLiteral("/upd😀"));
    Click(form, "btnSave");
    EXPECT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(IniText(), before);
    EXPECT_EQ(Shown(form), QStringLiteral("host|21|/upd😀|||0|FTP"));
}

// The release key is shown and saved as the Base64 text keygen prints; a key that is not
// one is refused before anything is written, and clearing it removes it from the file.
TEST_F(SkyrunConfigTest, TheReleaseKeyIsShownCheckedAndSaved)
{
    const QString key = QString::fromLatin1(QByteArray(32, '\x5a').toBase64());
    WriteServerInfo({QStringLiteral("host"), QStringLiteral("21"), false, QStringLiteral("/"), {}, {},
                     QStringLiteral("FTP"), key},
                    Folder());
    TForm2 form(Folder());
    form.show();
    auto *edit = Child<QLineEdit>(form, "edtKey");
    EXPECT_EQ(edit->text(), key);
    const QString before = IniText();
    EXPECT_TRUE(before.contains(QStringLiteral("PUBLICKEY=") + key + QStringLiteral("\r\n"))) << before.toStdString();

    MessageBoxRecorder boxes;
    edit->setText(key.left(40));
    Click(form, "btnSave");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(boxes.Calls()[0].Text.contains(QStringLiteral("SkyrunSign keygen"))) << boxes.Calls()[0].Text.toStdString();
    EXPECT_EQ(IniText(), before);

    edit->clear();
    Click(form, "btnSave");
    EXPECT_FALSE(IniText().contains(QStringLiteral("PUBLICKEY"))) << IniText().toStdString();
    EXPECT_EQ(ReadServerInfo(Folder()).PublicKey, QString());

    // Settings that could not be read still show the stored key, and saving keeps it.
    WriteFileBytes(Folder() + QString::fromLatin1(SkyrunIniName),
                   "[FILESERVER]\r\nPORT=21\r\nPUBLICKEY=" + key.toLatin1() + "\r\n");
    TForm2 broken(Folder());
    broken.show();
    EXPECT_EQ(Child<QLineEdit>(broken, "edtKey")->text(), key);
    Click(broken, "btnSave");
    EXPECT_TRUE(IniText().contains(QStringLiteral("PUBLICKEY=") + key)) << IniText().toStdString();
}

} // namespace
