#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class TFtpClient;
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
/// message. It keeps the message list the run writes to. A silent run creates it and
/// never shows it.
class TForm1 : public QWidget
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
    void AddMessage(const QString &text);
    QStringList Messages() const;

    TSkyrunBar *FileBar() const;
    TSkyrunBar *OverallBar() const;
    /// A new maximum: the background turns white for a maximum of 1 or more, else
    /// into the panel colour.
    void SetFileBarMax(qint64 max);
    void SetOverallBarMax(qint64 max);
    /// The backgrounds the bars had at creation, after a directory's downloads.
    void ResetBarColours();

    /// The size the next transfer is expected to have: the file bar's scale when the
    /// transfer itself tells none.
    void SetExpectedSize(qint64 size);
    qint64 ExpectedSize() const;
    bool InTransfer() const;

    /// Drives the file bar and the message list from `ftp`'s transfer and status events.
    void AttachFtp(TFtpClient *ftp);
    /// The SFTP download progress: the file bar moves to max × done ÷ total, rounded to
    /// the nearest (halves to even), and the window gets its events. Always goes on.
    bool SftpProgress(qint64 userValue, std::uint64_t done, std::uint64_t total);

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
