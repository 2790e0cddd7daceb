#include "platform/application.h"
#include "platform/handles.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct FailingPaint : QWidget
{
    int Paints = 0;
    void paintEvent(QPaintEvent *) override
    {
        ++Paints;
        throw std::out_of_range("row 7 out of range");
    }
};

struct MessageCatcher : QWidget
{
    QList<std::uint32_t> Messages;
    bool event(QEvent *event) override
    {
        if (event->type() == Platform::TWindowMessageEvent::EventType())
            Messages << static_cast<Platform::TWindowMessageEvent *>(event)->Message();
        return QWidget::event(event);
    }
};

} // namespace

TEST(EventErrors, AnErrorInAClickHandlerOrWhilePaintingIsReportedAndTheProgramGoesOn)
{
    ASSERT_NE(qobject_cast<Platform::TApplication *>(qApp), nullptr);
    MessageBoxRecorder boxes;
    QPushButton button(QStringLiteral("변환"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        if (++clicks == 1)
            throw TException(QStringLiteral("'12a'은(는) 올바른 숫자가 아닙니다."));
    });
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(boxes.Summary(), Platform::ApplicationTitle() + QStringLiteral("|'12a'은(는) 올바른 숫자가 아닙니다.|error"));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2) << "the window still takes events";
    EXPECT_EQ(boxes.Calls().size(), 1u);

    // An error while painting is reported with the standard exception's text.
    MessageBoxRecorder painting;
    FailingPaint widget;
    widget.resize(50, 50);
    widget.show();
    EXPECT_SOON(widget.Paints > 0);
    ASSERT_FALSE(painting.Calls().empty());
    EXPECT_EQ(painting.Calls().front().Text, QStringLiteral("row 7 out of range"));
    EXPECT_EQ(painting.Calls().front().Icon, Platform::TMsgIcon::Error);
}

// An error raised while a report is open does not stack boxes.
TEST(EventErrors, AnErrorRaisedWhileAReportIsOpenDoesNotStackBoxes)
{
    int shown = 0;
    MessageBoxRecorder outer;
    const Platform::TMessageBoxHook previous = Platform::SetMessageBoxHook([&shown](const Platform::TMessageBoxCall &) {
        // The box's own loop meets the failing event again.
        ++shown;
        Platform::ReportException(std::make_exception_ptr(std::runtime_error("again")));
        return Platform::mbOK;
    });
    Platform::ReportException(std::make_exception_ptr(std::runtime_error("first")));
    Platform::SetMessageBoxHook(previous);
    EXPECT_EQ(shown, 1);
}

TEST(Handles, AWindowsNumberNamesItUntilItGoesAndCarriesPostedMessages)
{
    auto *window = new MessageCatcher;
    const std::uint32_t handle = Platform::WindowHandle(window);
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(Platform::WindowHandle(window), handle) << "a window keeps its number";
    EXPECT_EQ(Platform::WindowFromHandle(handle), window);
    EXPECT_TRUE(Platform::PostWindowMessage(handle, 1040));
    EXPECT_TRUE(window->Messages.isEmpty()) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Messages, QList<std::uint32_t>{1040});

    delete window;
    EXPECT_EQ(Platform::WindowFromHandle(handle), nullptr);
    EXPECT_FALSE(Platform::PostWindowMessage(handle, 1040));
    MessageCatcher other;
    EXPECT_NE(Platform::WindowHandle(&other), handle) << "numbers are not reused";
}

TEST(Handles, ALibraryIsLoadedFromExactlyTheFileNamed)
{
    QString error;
    // A bare name is a file in the current folder, never a library found on a search path.
    EXPECT_EQ(Platform::LoadLibraryFile(QStringLiteral("libc.so.6"), &error), 0u);
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("J202P.so"));
    WriteFileBytes(text, "not a library");
    EXPECT_EQ(Platform::LoadLibraryFile(text, &error), 0u);
    const QString platform = qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/libShareMem.so");
    const std::uint32_t library = Platform::LoadLibraryFile(platform, &error);
    ASSERT_NE(library, 0u) << error.toStdString();
    EXPECT_EQ(Platform::LibraryPath(library), platform);
    EXPECT_NE(Platform::LibrarySymbol(library, "smInitValues"), nullptr);
    EXPECT_EQ(Platform::LibrarySymbol(library, "SHOW_J202P"), nullptr);
    EXPECT_TRUE(Platform::FreeLibraryHandle(library));
    EXPECT_FALSE(Platform::FreeLibraryHandle(library));
    EXPECT_EQ(Platform::LibrarySymbol(library, "smInitValues"), nullptr);
}
