#include "testsupport.h"

#include "updater/skyrun.h"
#include "updater/skyrunbar.h"
#include "updater/skyrunmessages.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString Hex(unsigned bgr)
{
    return SkyrunColor(bgr).name();
}

// What the window shows mid-run: sampled from its picture, and saved for a look.
TEST(SkyrunWindow, PaintsTheRunsState)
{
    TForm1 form;
    form.SetServerLine(QString::fromUtf8(ServerLineFtp).arg(QStringLiteral("ftp.tovel.co.kr")));
    form.SetCurrentFileLine(QString::fromUtf8(CurrentFileLine).arg(QStringLiteral("J900E.so")));
    form.SetOverallLine(QString::fromUtf8(OverallFileLine).arg(3).arg(4));
    form.SetFileBarMax(1000);
    form.FileBar()->SetPosition(250);
    form.SetOverallBarMax(4);
    form.OverallBar()->SetPosition(3);
    form.AddMessage(QStringLiteral("Connected."));
    form.show();
    QApplication::processEvents();
    const QImage image = form.grab().toImage();
    image.save(PicturePath(QStringLiteral("skyrun-window.png")));
    // File bar at y 48..54: a quarter green, then white.
    EXPECT_EQ(image.pixelColor(50, 51).name(), Hex(SkyrunFileBarColor));
    EXPECT_EQ(image.pixelColor(200, 51).name(), Hex(SkyrunScaledBackground));
    // Overall bar at y 76..82: three quarters blue, then white.
    EXPECT_EQ(image.pixelColor(300, 79).name(), Hex(SkyrunOverallBarColor));
    EXPECT_EQ(image.pixelColor(400, 79).name(), Hex(SkyrunScaledBackground));
    // Panels and the unfocused message line in the panel colour.
    EXPECT_EQ(image.pixelColor(400, 35).name(), Hex(SkyrunPanelColor));
    EXPECT_EQ(image.pixelColor(400, 90).name(), Hex(SkyrunPanelColor));
    EXPECT_EQ(form.ServerLine(), QStringLiteral(" ●파일서버: ftp.tovel.co.kr"));
    EXPECT_EQ(form.CurrentFileLine(), QStringLiteral("현재파일: J900E.so"));
    EXPECT_EQ(form.OverallLine(), QStringLiteral("전체파일: 3/4"));
    // Every message becomes the selected line.
    form.AddMessage(QStringLiteral("FTP 경로 탐색 오류: /upd/"));
    EXPECT_EQ(form.Messages().join(QLatin1Char('|')), QStringLiteral("Connected.|FTP 경로 탐색 오류: /upd/"));
    auto *list = form.findChild<QListWidget *>(QStringLiteral("ListBox1"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->currentRow() == 1 && list->item(1)->isSelected());
}

TEST(SkyrunWindow, FtpAndSftpTransferEventsDriveTheFileBar)
{
    TForm1 form;
    // The expected size scales the bar while the transfer tells none.
    form.ExpectSize(500);
    EXPECT_EQ(form.ExpectedSize(), 500);
    form.TransferStarted(0);
    EXPECT_TRUE(form.InTransfer());
    EXPECT_EQ(form.FileBar()->Max(), 500);
    EXPECT_EQ(form.FileBar()->BackgroundColor().name(), Hex(SkyrunScaledBackground));
    form.Transferred(120);
    EXPECT_EQ(form.FileBar()->Position(), 120);
    form.TransferEnded();
    EXPECT_FALSE(form.InTransfer());
    EXPECT_EQ(form.FileBar()->Position() + form.ExpectedSize(), 0);
    // A size the server tells none of leaves the bar unscaled, in the panel colour.
    form.ExpectSize(-1);
    EXPECT_EQ(form.ExpectedSize(), 0);
    form.TransferStarted(0);
    EXPECT_EQ(form.FileBar()->Max(), 0);
    EXPECT_EQ(form.FileBar()->BackgroundColor().name(), Hex(SkyrunPanelColor));
    // A transfer that knows its own size scales the bar by it.
    form.TransferStarted(7000000000);
    EXPECT_EQ(form.FileBar()->Max(), 7000000000);
    // SFTP progress rounds halves to even.
    const std::tuple<qint64, std::uint64_t, std::uint64_t, qint64> cases[] = {
        {3, 1, 2, 2}, {5, 1, 2, 2}, {7, 1, 2, 4}, {100, 1, 3, 33}, {100, 2, 3, 67}, {100, 5, 0, 0}, {100, 3, 3, 100}};
    for (const auto &[max, done, total, position] : cases) {
        form.FileBar()->SetMax(max);
        form.TransferredOf(done, total);
        EXPECT_EQ(form.FileBar()->Position(), position) << max << " " << done << "/" << total;
    }
}

// A directory's downloads as the run reports them: the lines, the bars and their colours.
TEST(SkyrunWindow, TheRunsStepsSetTheLinesAndBars)
{
    TForm1 form;
    form.ServerChosen(QStringLiteral("ftp.tovel.co.kr"), false);
    EXPECT_EQ(form.ServerLine(), QStringLiteral(" ●파일서버: ftp.tovel.co.kr"));
    form.ServerChosen(QStringLiteral("sftp.tovel.co.kr"), true);
    EXPECT_EQ(form.ServerLine(), QStringLiteral(" ●파일보안서버: sftp.tovel.co.kr"));

    form.FileBar()->SetPosition(40);
    form.OverallStep(2, 4);
    EXPECT_EQ(form.FileBar()->Position(), 0);
    EXPECT_EQ(form.OverallBar()->Max(), 4);
    EXPECT_EQ(form.OverallBar()->Position(), 2);
    EXPECT_EQ(form.OverallBar()->BackgroundColor().name(), Hex(SkyrunScaledBackground));
    EXPECT_EQ(form.OverallLine(), QStringLiteral("전체파일: 2/4"));
    form.ExpectSize(1000);
    form.FileStarted(QStringLiteral("J900E.so"));
    EXPECT_EQ(form.CurrentFileLine(), QStringLiteral("현재파일: J900E.so"));
    form.FileBar()->SetPosition(300);

    form.DownloadsDone();
    EXPECT_EQ(form.FileBar()->Position() + form.OverallBar()->Position(), 0);
    EXPECT_EQ(form.CurrentFileLine(), QStringLiteral("현재파일: "));
    EXPECT_EQ(form.FileBar()->BackgroundColor().name(), Hex(SkyrunFileBarColor));
    EXPECT_EQ(form.OverallBar()->BackgroundColor().name(), Hex(SkyrunOverallBarColor));
}

// The window starts without a title bar, which comes back after a failed run.
TEST(SkyrunWindow, TheTitleBarComesBackAfterAFailedRun)
{
    TForm1 form;
    EXPECT_FALSE(form.HasTitleBar());
    form.show();
    QApplication::processEvents();
    form.RunFailed();
    EXPECT_TRUE(form.HasTitleBar() && form.isVisible());
    EXPECT_EQ(form.size(), QSize(471, 99));
    form.RemoveTitleBar();
    EXPECT_FALSE(form.HasTitleBar());
    EXPECT_TRUE(form.isVisible());
    // The end of the run closes the window.
    form.RunEnded();
    EXPECT_FALSE(form.isVisible());
}

// The run processes events while it waits; activations meanwhile or later start nothing.
TEST(SkyrunWindow, ASecondActivationNeverStartsASecondRun)
{
    TForm1 form;
    int runs = 0;
    bool runningInside = false;
    form.SetOnActivate([&] {
        ++runs;
        runningInside = form.Running();
        form.Activate();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &activate);
        QApplication::processEvents();
    });
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    form.Activate();
    EXPECT_TRUE(runs == 1 && runningInside);
    EXPECT_FALSE(form.Running());
    // A failure the run did not report becomes a message.
    TForm1 failing;
    failing.SetOnActivate([] { throw std::runtime_error("unexpected"); });
    failing.Activate();
    EXPECT_EQ(failing.Messages(), QStringList{QStringLiteral("unexpected")});
}

} // namespace
