#pragma once

#include "updater/ftplisting.h"
#include "updater/release/contentcheck.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

/// The updater's FTP client: one control connection for a run, kept from Connect to
/// Disconnect, over libcurl. Every call blocks until it is done; while it waits the
/// application's events are processed (when AntiFreeze is on), so the window stays
/// painted. A call made while another is still waiting throws instead of nesting.
///
/// The user name and password go to the server in the login only: they are never part
/// of a URL, and an error text never holds the password. Failures throw TException with
/// the server's reply ("530 Login incorrect.") or the transport's error text.
class TFtpClient : public QObject
{
    Q_OBJECT
public:
    explicit TFtpClient(QObject *parent = nullptr);
    ~TFtpClient() override;

    QString Username;
    QString Password;
    QString Host;
    int Port = 21;
    bool Passive = false;
    /// Milliseconds a reply or a stalled data connection may keep us waiting; 0 = no limit.
    int ReadTimeout = 0;
    /// Process the application's events while a call waits.
    bool AntiFreeze = true;

    /// Logs in. Asks the server for its features and for UTF-8 names.
    void Connect();
    bool Connected() const;
    /// Leaves the server; does nothing when not connected.
    void Disconnect();

    /// Changes the working directory to `path`, an absolute path from the server's root
    /// ("/upd/sub/"). Fails when the server refuses it.
    void ChangeDir(const QString &path);
    QString CurrentDir() const;

    /// Lists the working directory in detail: MLSD where the server offers it, else LIST.
    QList<TFtpListItem> List();
    /// Whether listed names are UTF-8 (the server accepted OPTS UTF8 ON), else code page 949.
    bool Utf8Names() const;
    /// Whether the server offered MLSD in its features.
    bool MlsdOffered() const;

    /// The size in bytes of `name` in the working directory; -1 when the server tells none.
    qint64 Size(const QString &name);
    /// Fetches `name` of the working directory into `localFile`, which must not exist. The
    /// bytes go to a temporary file beside it that becomes `localFile` only when the
    /// transfer ended well and its bytes are what `expected` says: exactly its size when
    /// that is more than 0 (a size of 0 is what servers say when they do not know: the
    /// whole file is taken), and its SHA-256 when it has one, hashed as the bytes arrive.
    /// On any failure `localFile` is not created. Returns the byte count.
    qint64 Get(const QString &name, const QString &localFile, const TExpectedContent &expected = {});

Q_SIGNALS:
    /// Connection progress ("Connecting to …", "Connected.", "Disconnected.").
    void Status(const QString &text);
    /// A transfer starts; `maximum` is the size it expects, 0 when unknown.
    void WorkBegin(qint64 maximum);
    /// Bytes of the current transfer so far.
    void Work(qint64 count);
    void WorkEnd();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
