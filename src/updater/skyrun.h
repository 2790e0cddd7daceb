#pragma once

#include "updater/updateprogress.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class TSkyrunBar;

/// Colours of the updater's window, as 0x00BBGGRR numbers.
inline constexpr unsigned SkyrunPanelColor = 16698520;
inline constexpr unsigned SkyrunFileBarColor = 3322726;
inline constexpr unsigned SkyrunOverallBarColor = 16750639;
inline constexpr unsigned SkyrunScaledBackground = 16777215;
inline constexpr unsigned SkyrunSelectedLineColor = 8388608;

/// A colour number 0x00BBGGRR as a colour.
QColor SkyrunColor(unsigned bgr);

/// The updater's window during a run: the server it talks to, the file it fetches, a
/// bar for that file and one for the whole directory, and one line of the latest
/// message. It is where the run reports its progress, and it keeps the message list
/// the run writes to. A silent run creates it and never shows it.
class TForm1 : public QWidget, public TUpdateProgress
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void SetServerLine(const QString &text);
    QString ServerLine() const;
    void SetCurrentFileLine(const QString &text);
    QString CurrentFileLine() const;
    void SetOverallLine(const QString &text);
    QString OverallLine() const;

    /// Appends `text` to the message list and selects it, so the list shows it.
    void AddMessage(const QString &text) override;
    QStringList Messages() const override;

    TSkyrunBar *FileBar() const;
    TSkyrunBar *OverallBar() const;
    /// A new maximum: the background turns white for a maximum of 1 or more, else
    /// into the panel colour.
    void SetFileBarMax(qint64 max);
    void SetOverallBarMax(qint64 max);
    /// The backgrounds the bars had at creation, after a directory's downloads.
    void ResetBarColours();

    /// The server line for `host`, as FTP or SFTP server.
    void ServerChosen(const QString &host, bool sftp) override;
    /// The file bar empties; the overall bar and line show `step` of `count`.
    void OverallStep(qsizetype step, qsizetype count) override;
    /// The file bar's scale, and the scale of the next transfer when the transfer itself
    /// tells none (an unknown size as 0).
    void ExpectSize(qint64 size) override;
    qint64 ExpectedSize() const;
    /// The current-file line names `name`, and the window repaints before the transfer
    /// holds it up.
    void FileStarted(const QString &name) override;

    /// The FTP transfer events move the file bar.
    void TransferStarted(qint64 maximum) override;
    void Transferred(qint64 count) override;
    void TransferEnded() override;
    bool InTransfer() const;
    /// The SFTP download progress: the file bar moves to max × done ÷ total, rounded to
    /// the nearest (halves to even), and the window gets its events.
    void TransferredOf(std::uint64_t done, std::uint64_t total) override;

    /// Both bars empty, the current-file line names no file, and the bars take the
    /// colours they had at creation.
    void DownloadsDone() override;
    /// A failed run gives the window its title bar back.
    void RunFailed() override;
    /// The window closes, which ends the program's event loop.
    void RunEnded() override;

    void RemoveTitleBar();
    void RestoreTitleBar();
    bool HasTitleBar() const;

    /// What the first activation of the window does (the update run). However often the
    /// window is activated again, also while the run waits for the network and the
    /// window processes its events, the run is started once.
    void SetOnActivate(std::function<void()> run);
    void Activate();
    bool Running() const;

protected:
    bool event(QEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
