#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

/// Where an update run and its transport report while the run goes on, so the run needs
/// no window of its own: the progress window shows it all, a silent sink keeps only the
/// message lines. The calls come in the order of the run, on the window's thread.
class TUpdateProgress
{
public:
    virtual ~TUpdateProgress();

    /// The server the run talks to, named once the settings are read.
    virtual void ServerChosen(const QString &host, bool sftp) = 0;

    /// A line of the message list: the run's failures and the FTP client's status.
    virtual void AddMessage(const QString &text) = 0;
    /// The message lines so far, in order; a failed run saves them as its log.
    virtual QStringList Messages() const = 0;

    /// File `step` (from 1) of the `count` files a directory fetches is next; the file
    /// progress starts empty.
    virtual void OverallStep(qsizetype step, qsizetype count) = 0;
    /// The size the next file is expected to have, -1 when the server tells none.
    virtual void ExpectSize(qint64 size) = 0;
    /// The transfer of `name` is about to begin.
    virtual void FileStarted(const QString &name) = 0;

    /// An FTP transfer starts; `maximum` is the size it expects, 0 when it knows none.
    virtual void TransferStarted(qint64 maximum) = 0;
    /// Bytes of the current FTP transfer so far.
    virtual void Transferred(qint64 count) = 0;
    virtual void TransferEnded() = 0;
    /// `done` of the `total` bytes of the current SFTP download.
    virtual void TransferredOf(std::uint64_t done, std::uint64_t total) = 0;

    /// A directory's downloads are over, however they ended.
    virtual void DownloadsDone() = 0;
    /// The run failed; its log is saved next.
    virtual void RunFailed() = 0;
    /// The run is over.
    virtual void RunEnded() = 0;
};

/// The progress of a run without a window: keeps the message lines and nothing else.
class TSilentProgress final : public TUpdateProgress
{
public:
    void ServerChosen(const QString &, bool) override { }
    void AddMessage(const QString &text) override;
    QStringList Messages() const override;
    void OverallStep(qsizetype, qsizetype) override { }
    void ExpectSize(qint64) override { }
    void FileStarted(const QString &) override { }
    void TransferStarted(qint64) override { }
    void Transferred(qint64) override { }
    void TransferEnded() override { }
    void TransferredOf(std::uint64_t, std::uint64_t) override { }
    void DownloadsDone() override { }
    void RunFailed() override { }
    void RunEnded() override { }

private:
    QStringList m_messages;
};
