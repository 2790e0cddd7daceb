#include "common/base64.h"
#include "common/gplib.h"
#include "login/loginflow.h"
#include "login/tovellogin.h"
#include "platform/singleinstance.h"
#include "testdatabase.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class LoginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("TOVEL_PROGRAM_DIR", QFile::encodeName(m_dir.path()));
        ASSERT_TRUE(QFile::copy(qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/libZULCaller.so"),
                                LoginFlow::CallerLibraryPath()));
        const TestDatabase db(TestDatabase::Backend::SQLite, m_dir.path());
        ASSERT_EQ(db.Reset(), QString());
        ASSERT_TRUE(GpLib::WriteConnString(EncodeBase64Text(db.ConnectionString()), IniPath()));
    }

    void TearDown() override { qunsetenv("TOVEL_PROGRAM_DIR"); }

    QString IniPath() const { return m_dir.filePath(QStringLiteral("gp.ini")); }
    QString File(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    /// A stand-in program that records its arguments, one "[argument]" a line.
    void WriteStandIn(const char *name)
    {
        const QString path = File(name);
        WriteFileBytes(path, QByteArray("#!/bin/sh\nprintf '[%s]\\n' \"$@\" > \"$0.args.tmp\" && mv \"$0.args.tmp\" \"$0.args\"\n"));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    }

    void OpenWindow()
    {
        m_window = std::make_unique<TfrmLogin>();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_userId = m_window->findChild<QLineEdit *>(QStringLiteral("Edit_UserId"));
        m_password = m_window->findChild<QLineEdit *>(QStringLiteral("Edit_Password"));
        m_ok = m_window->findChild<QToolButton *>(QStringLiteral("SpdBtn_ok"));
        ASSERT_TRUE(m_userId && m_password && m_ok);
    }

    void LogIn(const QString &userId, const QString &password)
    {
        m_userId->setText(userId);
        m_password->setText(password);
        m_boxes.Clear();
        QTest::mouseClick(m_ok, Qt::LeftButton);
    }

    QWidget *Focused() const { return m_window->focusWidget(); }

    QTemporaryDir m_dir;
    MessageBoxRecorder m_boxes;
    std::unique_ptr<TfrmLogin> m_window;
    QLineEdit *m_userId = nullptr;
    QLineEdit *m_password = nullptr;
    QToolButton *m_ok = nullptr;
};

} // namespace

TEST_F(LoginTest, TheWindowHasItsCaptionSizeAndComponents)
{
    OpenWindow();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("㈜Tovel 영업정산-로그인"));
    EXPECT_EQ(m_window->size(), QSize(384, 291));
    EXPECT_EQ(m_userId->geometry(), QRect(183, 177, 106, 21));
    EXPECT_EQ(m_password->geometry(), QRect(183, 203, 106, 21));
    EXPECT_EQ(m_ok->geometry(), QRect(130, 231, 64, 22));
    EXPECT_EQ(m_userId->maxLength(), 8);
    EXPECT_EQ(m_password->maxLength(), 6);
    EXPECT_EQ(m_password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, m_password), '*');
    const QLabel *picture = m_window->findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixmap().size(), QSize(388, 292)) << "the login picture is loaded";
    // Sample the picture under the OK area: its button is drawn in blue there.
    const QImage shot = m_window->grab().toImage();
    const QColor ok = shot.pixelColor(140, 242);
    EXPECT_GT(ok.blue(), ok.red() + 40) << "OK area colour " << ok.name().toStdString();
    m_window->grab().save(PicturePath(QStringLiteral("login_window.png")));
}

TEST_F(LoginTest, StoredUserIdIsPrefilledAndAnEmptyFileLeavesTheFieldEmpty)
{
    GpLib::WriteUserKeys({QStringLiteral("1001"), QStringLiteral("홍길동"), {}, {}, {}, {}}, IniPath());
    OpenWindow();
    EXPECT_EQ(m_userId->text(), QStringLiteral("1001"));
    EXPECT_EQ(m_window->LoginValues().ProgramAllow, QStringLiteral("n"));
    m_window.reset();

    QFile::remove(IniPath());
    WriteFileBytes(IniPath(), QByteArray());
    OpenWindow();
    EXPECT_EQ(m_userId->text(), QString());
    EXPECT_EQ(Focused(), m_userId);
}

TEST_F(LoginTest, AStoredIdOfEightCharactersSendsTheFocusToThePassword)
{
    GpLib::WriteUserKeys({QStringLiteral("40710263"), QStringLiteral("홍길동"), {}, {}, {}, {}}, IniPath());
    OpenWindow();
    EXPECT_EQ(m_userId->text(), QStringLiteral("40710263"));
    ASSERT_EQ(Focused(), m_password);
    // Typing the password at once goes into the password field, never over the id.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1234"));
    EXPECT_EQ(m_userId->text(), QStringLiteral("40710263"));
    EXPECT_EQ(m_password->text(), QStringLiteral("1234"));
}

TEST_F(LoginTest, EscapeDoesNotCloseTheWindowButTheCancelAreaDoes)
{
    OpenWindow();
    QTest::keyClick(m_userId, Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible());
    QTest::mouseClick(m_window->findChild<QToolButton *>(QStringLiteral("SpdBtn_cancel")), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(LoginTest, BlankFieldsAreRefusedBeforeAnyCheck)
{
    OpenWindow();
    LogIn(QStringLiteral("   "), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, QStringLiteral("개인번호 입력하세요"));
    EXPECT_EQ(Focused(), m_userId);

    LogIn(QStringLiteral("1001"), QStringLiteral("  "));
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, QStringLiteral("비밀번호 입력하세요"));
    EXPECT_EQ(Focused(), m_userId);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(LoginTest, TypingMovesTheFocusAndWarnsAtTheSixthPasswordCharacter)
{
    OpenWindow();
    m_userId->setFocus();
    QTest::keyClicks(m_userId, QStringLiteral("1234567"));
    EXPECT_EQ(Focused(), m_userId);
    QTest::keyClicks(m_userId, QStringLiteral("8"));
    EXPECT_EQ(Focused(), m_password) << "the 8th character moves on";

    m_userId->setText(QStringLiteral("1001"));
    m_userId->setFocus();
    QTest::keyClick(m_userId, Qt::Key_Return);
    EXPECT_EQ(Focused(), m_password) << "Enter moves on";

    m_boxes.Clear();
    QTest::keyClicks(m_password, QStringLiteral("12345"));
    EXPECT_TRUE(m_boxes.Calls().empty());
    QTest::keyClicks(m_password, QStringLiteral("67"));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("login_tests|6자리이내로 입력하세요!!|error"));
    EXPECT_EQ(m_password->text(), QStringLiteral("123456"));
    EXPECT_EQ(Focused(), m_password);
}

TEST_F(LoginTest, EachResultCharacterMovesTheFocus)
{
    OpenWindow();
    LogIn(QStringLiteral("7777"), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("사용자정보|등록되지 않은 사용자입니다|error"));
    EXPECT_EQ(Focused(), m_userId);

    LogIn(QStringLiteral("1001"), QStringLiteral("4321"));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("사용자정보|비밀번호 오류입니다.|error"));
    EXPECT_EQ(Focused(), m_password);

    m_userId->setFocus();
    GpLib::WriteConnString(EncodeBase64Text(QStringLiteral("Provider=SQLite;Data Source=gone.db")), IniPath());
    LogIn(QStringLiteral("1001"), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(Focused(), m_password);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(LoginTest, AMissingOrBrokenCallerLibraryIsReportedAndTheWindowStays)
{
    OpenWindow();
    const QString library = LoginFlow::CallerLibraryPath();
    QFile::remove(library);
    LogIn(QStringLiteral("1001"), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, QStringLiteral("해당 파일이 존재하지 않습니다\n\n파일명 : ") + library);

    WriteFileBytes(library, QByteArray("not a library"));
    LogIn(QStringLiteral("1001"), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, QStringLiteral("Load Library Error!"));
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(LoginTest, SuccessStartsOnlyTheUpdaterWithTheMainProgramsCommandLine)
{
    WriteStandIn("Skyrun");
    WriteStandIn("TovelMain");
    OpenWindow();
    m_userId->setText(QStringLiteral("1001"));
    m_password->setText(QStringLiteral("1234"));
    QTest::keyClick(m_password, Qt::Key_Return);
    EXPECT_TRUE(m_boxes.Calls().empty()) << m_boxes.Summary().toStdString();
    EXPECT_FALSE(m_window->isVisible());
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(File("Skyrun.args")); }, 5000));
    EXPECT_EQ(ReadFileBytes(File("Skyrun.args")), QByteArray("[run]\n[TovelMain]\n[run]\n[1001]\n[]\n"));
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(File("TovelMain.args")));
    EXPECT_EQ(GpLib::ReadUserKeys(IniPath()).UserNm, QStringLiteral("홍길동"));
}

TEST_F(LoginTest, WithoutTheUpdaterTheMainProgramGetsRunAndTheUser)
{
    WriteStandIn("TovelMain");
    OpenWindow();
    LogIn(QStringLiteral(" 1001 "), QStringLiteral("1234"));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(File("TovelMain.args")); }, 5000));
    EXPECT_EQ(ReadFileBytes(File("TovelMain.args")), QByteArray("[run]\n[1001]\n"));
}

TEST_F(LoginTest, SuccessClosesTheWindowEvenWhenNeitherProgramExists)
{
    OpenWindow();
    LogIn(QStringLiteral("1001"), QStringLiteral("1234"));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("login_tests|관련파일(TovelMain)을 찾을 수 없습니다|error"));
    EXPECT_FALSE(m_window->isVisible());
}

TEST(LoginStart, ASecondStartIsRefusedAndRaisesTheOpenMainWindow)
{
    MessageBoxRecorder boxes;
    EXPECT_FALSE(LoginFlow::RefuseSecondStart());
    EXPECT_TRUE(boxes.Calls().empty());

    // The open main window is the real main program, in a process of its own.
    QTemporaryDir folder;
    ASSERT_EQ(PrepareLoggedInFolder(folder.path()), QString());
    QProcess main;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TOVEL_PROGRAM_DIR"), folder.path());
    main.setProcessEnvironment(environment);
    main.start(qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/TovelMain"),
               {QStringLiteral("run"), QStringLiteral("1001")});
    main.setProcessChannelMode(QProcess::MergedChannels);
    ASSERT_TRUE(main.waitForStarted());
    ASSERT_TRUE(WaitUntil([&] { return Platform::WindowExists(LoginFlow::MainWindowCaption()); }, 20000))
        << "the main program " << (main.state() == QProcess::NotRunning ? "ended" : "runs") << ", saying: "
        << main.readAll().toStdString();

    EXPECT_TRUE(LoginFlow::RefuseSecondStart());
    EXPECT_EQ(boxes.Summary(), QStringLiteral("확인|프로그램이 이미 실행 되어 있습니다.|error"));
    main.terminate();
    EXPECT_TRUE(main.waitForFinished(10000));
}
