#include "updater/ftpclient.h"

#include "platform/cp949.h"
#include "platform/texception.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <curl/curl.h>

#include <cctype>
#include <functional>
#include <mutex>
#include <sys/select.h>

namespace {

// A listing that grows past this is refused before it is parsed.
constexpr qsizetype MaxListingBytes = 32 * 1024 * 1024;
// How long one wait for the network lasts before the window gets its events.
constexpr int AntiFreezeSliceMs = 20;

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsReplyLine(const QByteArray &line)
{
    return line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[0]))
        && std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2]))
        && line[3] == ' ';
}

QString DecodeReply(const QByteArray &line)
{
    const QString utf8 = QString::fromUtf8(line);
    return utf8.toUtf8() == line ? utf8 : Platform::FromCp949(line);
}

// Percent-encodes every byte of a path but "/" and the unreserved characters.
QByteArray EncodePath(const QByteArray &path)
{
    return path.toPercentEncoding("/");
}

// Errors that stand for a refusal by the server, whose own reply says most.
bool IsServerRefusal(CURLcode code)
{
    switch (code) {
    case CURLE_LOGIN_DENIED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_WEIRD_SERVER_REPLY:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_PORT_FAILED:
        return true;
    default:
        return false;
    }
}

void CheckName(const QString &name)
{
    if (!IsSafeListedName(name))
        throw TException(QStringLiteral("Invalid file name: %1").arg(name));
}

} // namespace

struct TFtpClient::Private
{
    TFtpClient *q = nullptr;
    CURL *easy = nullptr;
    CURLM *multi = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    bool busy = false;
    bool connected = false;
    bool utf8 = false;
    bool mlsd = false;
    QString currentDir = QStringLiteral("/");
    QByteArray username;
    QByteArray password;
    QByteArray origin; // "ftp://host:port"
    QList<QByteArray> replyLines;
    QByteArray partialReply;
    std::function<bool(const char *, size_t)> sink;
    bool reportProgress = false;
    curl_off_t lastProgress = -1;

    static size_t OnHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *d = static_cast<Private *>(self);
        d->partialReply.append(data, static_cast<qsizetype>(size * count));
        qsizetype end;
        while ((end = d->partialReply.indexOf('\n')) >= 0) {
            QByteArray line = d->partialReply.left(end);
            d->partialReply.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            d->replyLines.append(line);
        }
        return size * count;
    }

    static size_t OnWrite(char *data, size_t size, size_t count, void *self)
    {
        auto *d = static_cast<Private *>(self);
        const size_t bytes = size * count;
        // Requests without a body still hand over curl's own summary; it is not wanted.
        if (d->sink && !d->sink(data, bytes))
            return bytes == 0 ? 1 : 0; // anything but `bytes` ends the transfer
        return bytes;
    }

    static int OnProgress(void *self, curl_off_t, curl_off_t now, curl_off_t, curl_off_t)
    {
        auto *d = static_cast<Private *>(self);
        if (d->reportProgress && now != d->lastProgress) {
            d->lastProgress = now;
            Q_EMIT d->q->Work(static_cast<qint64>(now));
        }
        return 0;
    }

    QByteArray Encode(const QString &text) const
    {
        return utf8 ? text.toUtf8() : Platform::ToCp949(text);
    }

    // One request at a time on the one connection: a call from an event handler while
    // another waits is refused before it touches anything of the waiting one.
    void EnsureIdle() const
    {
        if (busy)
            throw TException(QStringLiteral("The FTP client is busy."));
    }

    void Open()
    {
        InitCurlOnce();
        Close();
        static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9._-]+$"));
        static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]+$"));
        if (q->Port < 1 || q->Port > 65535)
            throw TException(QStringLiteral("Invalid port: %1").arg(q->Port));
        QString host = q->Host;
        if (ipv6.match(host).hasMatch() && host.contains(QLatin1Char(':')))
            host = QLatin1Char('[') + host + QLatin1Char(']');
        else if (!hostName.match(host).hasMatch())
            throw TException(QStringLiteral("Invalid host name: %1").arg(q->Host));
        origin = "ftp://" + host.toLatin1() + ':' + QByteArray::number(q->Port);
        username = Platform::ToCp949(q->Username);
        password = Platform::ToCp949(q->Password);
        utf8 = false;
        mlsd = false;
        currentDir = QStringLiteral("/");

        easy = curl_easy_init();
        multi = curl_multi_init();
        if (!easy || !multi)
            throw TException(QStringLiteral("Cannot start the FTP client"));
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(easy, CURLOPT_USERNAME, username.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Private::OnHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Private::OnWrite);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Private::OnProgress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 65536L);
        curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
        // Never a proxy from the environment (ALL_PROXY, ftp_proxy): curl would hand it the
        // credentials inside a URL.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 30L);
        // Active mode: the server connects back to the address of our control connection.
        curl_easy_setopt(easy, CURLOPT_FTPPORT, q->Passive ? nullptr : "-");
        if (q->ReadTimeout > 0) {
            const long seconds = (q->ReadTimeout + 999) / 1000;
            curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, seconds);
            curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(q->ReadTimeout));
        }
    }

    void Close()
    {
        if (multi)
            curl_multi_cleanup(multi); // says QUIT on the open connection
        if (easy)
            curl_easy_cleanup(easy);
        multi = nullptr;
        easy = nullptr;
        connected = false;
    }

    QByteArray DirUrl(const QString &dir) const
    {
        QByteArray path = Encode(dir);
        if (!path.endsWith('/'))
            path += '/';
        // "%2F" makes the path absolute from the server's root, not from the login folder.
        return origin + "/%2F" + EncodePath(path.mid(1));
    }

    QByteArray FileUrl(const QString &name) const { return DirUrl(currentDir) + EncodePath(Encode(name)); }

    // Options that differ between requests are all set again for each one.
    void Prepare(const QByteArray &url, bool noBody, const char *customRequest = nullptr,
                 curl_slist *quote = nullptr)
    {
        curl_easy_setopt(easy, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy, CURLOPT_NOBODY, noBody ? 1L : 0L);
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, customRequest);
        curl_easy_setopt(easy, CURLOPT_QUOTE, quote);
        curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, 0L);
        // A retrieval reads until the server closes the data connection: curl would stop
        // at the size the server announced and keep a file cut to it without a word. The
        // caller compares the count with the size it asked for. A size query needs the
        // length.
        curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, noBody ? 0L : 1L);
        errorBuffer[0] = 0;
        replyLines.clear();
        partialReply.clear();
        reportProgress = false;
        lastProgress = -1;
    }

    CURLcode Perform()
    {
        if (!easy)
            throw TException(QStringLiteral("Not connected."));
        EnsureIdle();
        busy = true;
        curl_multi_add_handle(multi, easy);
        // However the wait ends (an event handler may throw), the handle leaves the multi
        // handle and nothing keeps pointing at the caller's sink or command list.
        struct TDone
        {
            Private *d;
            ~TDone()
            {
                curl_multi_remove_handle(d->multi, d->easy);
                curl_easy_setopt(d->easy, CURLOPT_QUOTE, nullptr);
                d->sink = nullptr;
                d->reportProgress = false;
                d->busy = false;
            }
        } done{this};
        CURLcode result = CURLE_OK;
        int running = 1;
        int idleCalls = 0;
        while (running) {
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                result = CURLE_SEND_ERROR;
                break;
            }
            if (!running)
                break;
            const bool freeze = q->AntiFreeze && QCoreApplication::instance();
            // Between the reply to EPSV or PASV and the data connection libcurl waits on
            // no socket and sets no timer: it connects at its next call. A poll would sit
            // out its whole timeout once per listing or download, so call again at once
            // (a few times, then after a millisecond each).
            if (!WaitsOnSockets()) {
                if (++idleCalls <= 3)
                    continue;
                curl_multi_poll(multi, nullptr, 0, 1, nullptr);
            } else {
                idleCalls = 0;
                curl_multi_poll(multi, nullptr, 0, freeze ? AntiFreezeSliceMs : 1000, nullptr);
            }
            if (freeze)
                QCoreApplication::processEvents();
        }
        int left = 0;
        while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
                result = message->data.result;
        }
        return result;
    }

    // Whether libcurl has a socket to wait on. (A descriptor beyond FD_SETSIZE is not
    // reported: the wait then only falls back to short polls.)
    bool WaitsOnSockets() const
    {
        fd_set read;
        fd_set write;
        fd_set error;
        FD_ZERO(&read);
        FD_ZERO(&write);
        FD_ZERO(&error);
        int highest = -1;
        return curl_multi_fdset(multi, &read, &write, &error, &highest) != CURLM_OK || highest >= 0;
    }

    int LastReplyCode() const
    {
        for (qsizetype i = replyLines.size() - 1; i >= 0; --i) {
            if (IsReplyLine(replyLines[i]))
                return replyLines[i].left(3).toInt();
        }
        return 0;
    }

    QString ErrorText(CURLcode code) const
    {
        QString text;
        if (IsServerRefusal(code)) {
            for (qsizetype i = replyLines.size() - 1; i >= 0 && text.isEmpty(); --i) {
                if (IsReplyLine(replyLines[i]) && replyLines[i][0] >= '4')
                    text = DecodeReply(replyLines[i]);
            }
        }
        if (text.isEmpty())
            text = errorBuffer[0] ? QString::fromUtf8(errorBuffer) : QString::fromUtf8(curl_easy_strerror(code));
        // A server may echo what it was sent; the password never reaches a message.
        if (q->Password.size() >= 3)
            text.replace(q->Password, QStringLiteral("*****"));
        return text.trimmed();
    }

    [[noreturn]] void Fail(CURLcode code) const { throw TException(ErrorText(code)); }
};

TFtpClient::TFtpClient(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
}

TFtpClient::~TFtpClient()
{
    d->Close();
}

void TFtpClient::Connect()
{
    d->EnsureIdle();
    Disconnect();
    d->Open();
    Q_EMIT Status(QStringLiteral("Connecting to %1:%2.").arg(Host).arg(Port));
    // A failed FEAT or OPTS is no failure: the server then offers neither.
    curl_slist *quote = curl_slist_append(nullptr, "*FEAT");
    quote = curl_slist_append(quote, "*OPTS UTF8 ON");
    d->Prepare(d->origin + '/', true, nullptr, quote);
    const CURLcode result = d->Perform();
    curl_slist_free_all(quote);
    if (result != CURLE_OK) {
        const QString text = d->ErrorText(result);
        d->Close();
        throw TException(text);
    }
    bool inFeatures = false;
    for (const QByteArray &line : d->replyLines) {
        if (line.startsWith("211-")) {
            inFeatures = true;
            continue;
        }
        if (!inFeatures)
            continue;
        if (line.startsWith("211 ")) {
            inFeatures = false;
            continue;
        }
        const QByteArray feature = line.trimmed().toUpper();
        if (feature == "MLSD" || feature.startsWith("MLST"))
            d->mlsd = true;
    }
    // The last reply answers OPTS UTF8 ON.
    const int optsReply = d->LastReplyCode();
    d->utf8 = optsReply >= 200 && optsReply < 300;
    d->connected = true;
    Q_EMIT Status(QStringLiteral("Connected."));
}

bool TFtpClient::Connected() const
{
    return d->connected;
}

void TFtpClient::Disconnect()
{
    if (!d->connected)
        return;
    d->EnsureIdle();
    d->Close();
    Q_EMIT Status(QStringLiteral("Disconnected."));
}

void TFtpClient::ChangeDir(const QString &path)
{
    d->EnsureIdle();
    if (!path.startsWith(QLatin1Char('/')))
        throw TException(QStringLiteral("Not an absolute path: %1").arg(path));
    d->Prepare(d->DirUrl(path), true);
    const CURLcode result = d->Perform();
    if (result != CURLE_OK)
        d->Fail(result);
    d->currentDir = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString TFtpClient::CurrentDir() const
{
    return d->currentDir;
}

QList<TFtpListItem> TFtpClient::List()
{
    d->EnsureIdle();
    QByteArray listing;
    bool tooLong = false;
    const auto fetch = [&](const char *command) {
        listing.clear();
        d->Prepare(d->DirUrl(d->currentDir), false, command);
        d->sink = [&](const char *data, size_t bytes) {
            if (listing.size() + static_cast<qsizetype>(bytes) > MaxListingBytes) {
                tooLong = true;
                return false;
            }
            listing.append(data, static_cast<qsizetype>(bytes));
            return true;
        };
        return d->Perform();
    };
    TFtpListingKind kind = TFtpListingKind::List;
    CURLcode result = CURLE_OK;
    if (d->mlsd) {
        kind = TFtpListingKind::Mlsd;
        result = fetch("MLSD");
        // A server that named MLST in its features may still refuse MLSD itself.
        if (result != CURLE_OK && !tooLong && d->LastReplyCode() >= 500 && d->LastReplyCode() <= 504) {
            kind = TFtpListingKind::List;
            result = fetch(nullptr);
        }
    } else {
        result = fetch(nullptr);
    }
    if (tooLong)
        throw TException(QStringLiteral("Listing longer than %1 bytes").arg(MaxListingBytes));
    if (result != CURLE_OK)
        d->Fail(result);
    return ParseFtpListing(listing, kind, d->utf8);
}

bool TFtpClient::Utf8Names() const
{
    return d->utf8;
}

bool TFtpClient::MlsdOffered() const
{
    return d->mlsd;
}

qint64 TFtpClient::Size(const QString &name)
{
    d->EnsureIdle();
    CheckName(name);
    d->Prepare(d->FileUrl(name), true);
    const CURLcode result = d->Perform();
    if (result == CURLE_REMOTE_FILE_NOT_FOUND || result == CURLE_FTP_COULDNT_RETR_FILE)
        return -1;
    if (result != CURLE_OK)
        d->Fail(result);
    curl_off_t length = -1;
    if (curl_easy_getinfo(d->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
        return -1;
    return static_cast<qint64>(length);
}

qint64 TFtpClient::Get(const QString &name, const QString &localFile, const TExpectedContent &expected)
{
    TContentCheck check(name, expected);
    d->EnsureIdle();
    CheckName(name);
    if (QFileInfo::exists(localFile))
        throw TException(QStringLiteral("The local file already exists: %1").arg(localFile));
    QSaveFile out(localFile);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        throw TException(QStringLiteral("Cannot create %1: %2").arg(localFile, out.errorString()));

    if (!d->easy)
        throw TException(QStringLiteral("Not connected."));
    qint64 received = 0;
    bool writeFailed = false;
    bool tooMany = false;
    d->Prepare(d->FileUrl(name), false);
    d->sink = [&](const char *data, size_t bytes) {
        if (out.write(data, static_cast<qint64>(bytes)) != static_cast<qint64>(bytes)) {
            writeFailed = true;
            return false;
        }
        received += static_cast<qint64>(bytes);
        // More than may come ends the transfer at once.
        tooMany = !check.Add(QByteArrayView(data, static_cast<qsizetype>(bytes)));
        return !tooMany;
    };
    d->reportProgress = true;
    Q_EMIT WorkBegin(expected.Size > 0 ? expected.Size : 0);
    CURLcode result = CURLE_OK;
    try {
        result = d->Perform();
    } catch (...) {
        Q_EMIT WorkEnd();
        throw;
    }
    Q_EMIT WorkEnd();

    if (writeFailed || tooMany) {
        // curl leaves the server after a transfer it ended early, and would log in again
        // on its own without asking for UTF-8 names: the client logs in again itself.
        const QString dir = d->currentDir;
        try {
            Connect();
            d->currentDir = dir;
        } catch (const std::exception &) {
            // The next call reports the server's state.
        }
    }
    if (writeFailed)
        throw TException(QStringLiteral("Cannot write %1: %2").arg(localFile, out.errorString()));
    if (tooMany)
        check.Finish();
    if (result != CURLE_OK)
        d->Fail(result);
    check.Finish();
    if (!out.commit())
        throw TException(QStringLiteral("Cannot write %1: %2").arg(localFile, out.errorString()));
    return received;
}
