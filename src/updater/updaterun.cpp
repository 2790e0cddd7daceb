#include "updater/updaterun.h"

#include "platform/programfolder.h"
#include "platform/texception.h"
#include "updater/release/releasemanifest.h"
#include "updater/skyrunapply.h"
#include "updater/ftplisting.h"
#include "updater/skyrunlog.h"
#include "updater/skyrunmessages.h"
#include "updater/updateprogress.h"
#include "updater/updatetransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <optional>

namespace {

QString Text(const char *format)
{
    return QString::fromUtf8(format);
}

QString ErrorText(const std::exception &error)
{
    if (const auto *own = dynamic_cast<const TException *>(&error))
        return own->Message();
    return QString::fromLocal8Bit(error.what());
}

// "name" without the suffix `suffix` when its extension is that suffix: cut before the
// first occurrence, as the server name may carry it more than once.
QString CutSuffix(const QString &name, QLatin1String suffix)
{
    if (!name.toLower().endsWith(suffix))
        return {};
    return name.left(name.toLower().indexOf(suffix));
}

// The local name a server name is fetched as: without its ".once" or ".sync" suffix.
QString TargetName(const QString &name)
{
    for (const QLatin1String suffix : {QLatin1String(".once"), QLatin1String(".sync")}) {
        if (const QString cut = CutSuffix(name, suffix); !cut.isEmpty() || name.toLower() == suffix)
            return cut;
    }
    return name;
}

// Why a listed name cannot be fetched: its record could not be kept, or it names no file
// of its own once its suffix is cut ("..once"); empty when it can.
QString NameProblem(const QString &relative, const QString &name)
{
    if (!TUpdateRun::IsRecordableKey(RecordKey(relative, name)))
        return QStringLiteral("The name cannot be recorded in skyrunlog.ini");
    if (!IsSafeListedName(TargetName(name)))
        return QStringLiteral("The name leaves no file name");
    return {};
}

// The local file's last write time as a stamp, in whole seconds; empty when it cannot
// be opened for reading.
QString LocalStamp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDateTime time = QFileInfo(file).lastModified();
    time.setTime(QTime(time.time().hour(), time.time().minute(), time.time().second()));
    return FormatStamp(time);
}

} // namespace

struct TUpdateRun::Private
{
    TRunOptions options;
    QString programFolder;
    TUpdateProgress &progress;
    TServerInfo info;
    bool settingsRead = false;
    bool sftp = false;
    bool error = false;
    // A file that was skipped and reported, without stopping the walk.
    bool noted = false;
    QString logFile;
    std::unique_ptr<TUpdateTransport> transport;
    std::unique_ptr<TSkyrunLog> log;
    // The records of the state file as the decision pass compares them (keys lower-cased),
    // read once and again only after the run has written the file.
    QHash<QString, QString> records;
    bool recordsCurrent = false;
    // With a release key: the verified release of this run, the base directory its paths
    // start from and the server directory being walked.
    std::optional<TReleaseManifest> release;
    QString baseDir;
    QString currentDir;
    // The hashes recorded for signed files (keys lower-cased), read with the records.
    QHash<QString, QString> hashes;

    Private(const TRunOptions &options, const QString &programFolder, TUpdateProgress &progress)
        : options(options)
        , programFolder(Platform::WithTrailingSlash(programFolder))
        , progress(progress)
    {
    }

    void Message(const QString &text) { progress.AddMessage(text); }

    TApplyReport Report()
    {
        return {[this](const QString &text) { Message(text); }, [this] { error = true; }};
    }

    bool LoadRelease();
    const TManifestFile *Listed(const QString &name) const;
    std::optional<QString> ReleaseFolder() const;
    bool ReleaseWants(const TServerFile &file, const QString &root, const QString &relative,
                      QList<TIniEntry> &adoptedHashes);
    void ReportMissing(const QList<TServerFile> &files);
    TExpectedContent Expected(const QString &name, qint64 size) const;
    void SyncDirectory(const QString &localFolder);
    bool Decide(const TServerFile &file, const QString &root, const QString &relative,
                const QHash<QString, QString> &records, QList<TIniEntry> &adopted);
    void Download(const QStringList &names, const QStringList &stamps, const QString &root, const QString &relative);
    void DownloadOne(const QString &name, const QString &stamp, const QString &root, const QString &relative);
};

TUpdateRun::TUpdateRun(const TRunOptions &options, const QString &programFolder, TUpdateProgress &progress)
    : d(std::make_unique<Private>(options, programFolder, progress))
{
}

TUpdateRun::~TUpdateRun() = default;

bool TUpdateRun::Failed() const
{
    return d->error || d->noted;
}

bool TUpdateRun::UsesSftp() const
{
    return d->sftp;
}

QString TUpdateRun::LogFile() const
{
    return d->logFile;
}

void TUpdateRun::ShowStep()
{
    try {
        d->info = ReadServerInfo(d->programFolder);
        d->settingsRead = true;
    } catch (const std::exception &error) {
        d->Message(ErrorText(error));
        d->error = true;
    }
    switch (d->options.Transport) {
    case TTransport::Ftp:
        d->sftp = false;
        break;
    case TTransport::Sftp:
        d->sftp = true;
        break;
    case TTransport::Default:
        d->sftp = d->info.TransType == QLatin1String("SFTP");
        break;
    }
    d->progress.ServerChosen(d->info.IP, d->sftp);
}

void TUpdateRun::ActivationStep()
{
    // Whatever goes wrong, the run ends (the window closes) and the program goes on to
    // its follow-up.
    try {
        RunUpdate();
    } catch (const std::exception &error) {
        d->Message(ErrorText(error));
        d->error = true;
    }
    if (Failed()) {
        d->progress.RunFailed();
        d->logFile = WriteRunLog(d->programFolder, d->progress.Messages());
    }
    d->progress.RunEnded();
}

void TUpdateRun::RunUpdate()
{
    if (!d->settingsRead)
        return;
    const QString path = d->info.Path.isEmpty() ? QStringLiteral("/") : d->info.Path;
    QStringList dirs;
    try {
        dirs = BuildDirectoryList(path, d->programFolder);
    } catch (const std::exception &error) {
        d->Message(ErrorText(error));
        d->error = true;
        return;
    }
    if (dirs.isEmpty())
        return;
    try {
        d->transport = d->sftp ? MakeSftpTransport(d->progress, d->options.PreserveTimes, d->programFolder)
                               : MakeFtpTransport(d->progress);
        d->log = std::make_unique<TSkyrunLog>(d->programFolder);
        d->transport->Connect(d->info);
        d->baseDir = dirs.front();
        bool walked = true;
        for (int i = 0; i < dirs.size() && !dirs[i].isEmpty(); ++i) {
            const QString &dir = dirs[i];
            const QString local = LocalFolderOf(dir, dirs.front(), i, d->options.LocalBase);
            if (!d->transport->ChangeDir(dir)) {
                d->error = true;
                d->Message(Text(DirectoryErrorPrefix) + dir);
                walked = false;
                break;
            }
            // A signed release is verified before anything else is fetched.
            if (i == 0 && !d->info.PublicKey.isEmpty() && !d->LoadRelease()) {
                walked = false;
                break;
            }
            d->currentDir = dir;
            d->SyncDirectory(local);
            if (d->error) {
                walked = false;
                break;
            }
        }
        // The release counts as accepted only once every file it lists was placed or
        // refused: a run that stopped early (or was killed) leaves the record as it was.
        if (d->release && walked)
            d->log->RecordRelease(d->release->Sequence);
    } catch (const std::exception &error) {
        d->Message(Text(d->sftp ? SftpConnectionErrorPrefix : FtpConnectionErrorPrefix) + ErrorText(error));
        d->error = true;
    }
    if (d->transport)
        d->transport->Disconnect();
}

QString TUpdateRun::LocalFolderOf(const QString &dir, const QString &baseDir, int index, const QString &localBase)
{
    if (index == 0)
        return {};
    QString folder = dir;
    if (folder.startsWith(baseDir))
        folder.remove(0, baseDir.size());
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty())
        return {};
    const QString full = folder.startsWith(QLatin1Char('/')) ? folder : Platform::WithTrailingSlash(localBase) + folder;
    if (!QDir().mkpath(full))
        throw TException(QStringLiteral("Cannot create the folder %1").arg(full));
    return folder;
}

bool TUpdateRun::IsRecordableKey(const QString &key)
{
    // Blanks around a key are not part of it in the file: such a name would share its
    // record with the name without them.
    if (key.trimmed() != key || !TIniFile::CanStoreKey(key))
        return false;
    return std::none_of(key.begin(), key.end(), [](QChar c) { return c.unicode() < 0x20; });
}

bool TUpdateRun::Private::LoadRelease()
{
    const QString manifestName = QString::fromLatin1(ManifestName);
    try {
        const QByteArray key = PublicKeyFromText(info.PublicKey);
        // A server that does not answer the size query still hands the manifest over; the
        // fetch tells whether it is there, and never takes more than a manifest may hold.
        qint64 size = -1;
        try {
            size = transport->Size(manifestName);
        } catch (const TException &) {
        }
        if (size > MaxManifestBytes)
            throw TException(QStringLiteral("%1 is longer than %2 bytes").arg(manifestName).arg(MaxManifestBytes));
        QTemporaryDir folder;
        if (!folder.isValid())
            throw TException(QStringLiteral("Cannot make a temporary folder: %1").arg(folder.errorString()));
        const QString local = folder.filePath(manifestName);
        try {
            transport->Get(manifestName, local, TExpectedContent(size, {}, MaxManifestBytes));
        } catch (const TException &failure) {
            throw TException(QStringLiteral("Cannot fetch %1 from %2: %3").arg(manifestName, baseDir, failure.Message()));
        }
        QFile file(local);
        if (!file.open(QIODevice::ReadOnly))
            throw TException(QStringLiteral("Cannot read %1: %2").arg(local, file.errorString()));
        TReleaseManifest manifest = VerifyManifest(file.read(MaxManifestBytes + 1), key);
        const quint64 accepted = log->AcceptedRelease();
        if (manifest.Sequence < accepted)
            throw TException(QStringLiteral("release %1 is older than release %2, which this workstation has already "
                                            "taken (an old folder put back?)")
                                 .arg(manifest.Sequence)
                                 .arg(accepted));
        if (manifest.Expires < QDateTime::currentDateTimeUtc())
            throw TException(QStringLiteral("release %1 expired at %2")
                                 .arg(manifest.Sequence)
                                 .arg(manifest.Expires.toString(Qt::ISODate)));
        release = std::move(manifest);
        return true;
    } catch (const std::exception &failure) {
        Message(Text(ReleaseRefused).arg(ErrorText(failure)));
        error = true;
        return false;
    }
}

std::optional<QString> TUpdateRun::Private::ReleaseFolder() const
{
    // The release lists paths under the base directory ("sub/" for "/upd/sub/", "" for the
    // base); a directory outside it has none. An absolute entry may lack its trailing "/"
    // ("/upd/bin" under "/upd/").
    const QString dir = currentDir.endsWith(QLatin1Char('/')) ? currentDir : currentDir + QLatin1Char('/');
    if (!release || !dir.startsWith(baseDir))
        return std::nullopt;
    return dir.mid(baseDir.size());
}

const TManifestFile *TUpdateRun::Private::Listed(const QString &name) const
{
    const std::optional<QString> folder = ReleaseFolder();
    return folder ? release->Find(*folder + name) : nullptr;
}

bool TUpdateRun::Private::ReleaseWants(const TServerFile &file, const QString &root, const QString &relative,
                                       QList<TIniEntry> &adoptedHashes)
{
    // The listing's times are nobody's signature: a file whose signed bytes differ from
    // those last put in place is fetched whatever its time says, so no server can hold
    // back one file of a release, or mix in an older one, by its time alone.
    const TManifestFile *entry = Listed(file.Name);
    if (!entry)
        return false;
    const QString key = RecordKey(relative, file.Name);
    const QString wanted = QString::fromLatin1(entry->Sha256.toHex());
    const QString recorded = hashes.value(key.toLower());
    if (!recorded.isEmpty())
        return recorded != wanted;
    // Nothing recorded yet (a folder from before the key): a file that already holds the
    // signed bytes is adopted, a ".sync" file by its target; a ".once" copy may differ
    // locally on purpose, and goes by its time.
    if (file.Name.toLower().endsWith(QLatin1String(".once")))
        return false;
    const QString local = root + relative + TargetName(file.Name);
    if (FileSha256(local) != entry->Sha256)
        return true;
    adoptedHashes.append({key, wanted});
    return false;
}

void TUpdateRun::Private::ReportMissing(const QList<TServerFile> &files)
{
    // Files the release lists in this directory that the server's listing does not show:
    // reported and counted as refused (their old copies stay). Names starting with "."
    // are left aside, as many servers keep them out of listings.
    const std::optional<QString> folder = ReleaseFolder();
    if (!folder)
        return;
    QSet<QString> listed;
    for (const TServerFile &file : files)
        listed.insert(file.Name);
    for (const QString &name : release->NamesIn(*folder)) {
        if (name.startsWith(QLatin1Char('.')) || listed.contains(name))
            continue;
        Message(Text(FileFailed).arg(name, QStringLiteral("listed in the signed release but not on the server")));
        noted = true;
    }
}

TExpectedContent TUpdateRun::Private::Expected(const QString &name, qint64 size) const
{
    if (!release)
        return {size};
    const TManifestFile *file = Listed(name);
    if (!file)
        throw TContentMismatch(QStringLiteral("%1 is not listed in the signed release").arg(name));
    return {file->Size, file->Sha256};
}

void TUpdateRun::Private::SyncDirectory(const QString &localFolder)
{
    // An absolute folder lies outside the local base: its files are kept from the root
    // of the file system, under the same keys a relative folder would give.
    QString root = options.LocalBase;
    QString relative = localFolder.isEmpty() ? QString() : localFolder + QLatin1Char('/');
    if (localFolder.startsWith(QLatin1Char('/'))) {
        root = QStringLiteral("/");
        relative = localFolder.mid(1) + QLatin1Char('/');
    }

    if (!recordsCurrent) {
        records.clear();
        for (const TIniEntry &entry : log->ReadAll())
            records.insert(entry.Name.trimmed().toLower(), entry.Value);
        hashes.clear();
        if (release) {
            for (const TIniEntry &entry : log->ReadAllHashes())
                hashes.insert(entry.Name.trimmed().toLower(), entry.Value);
        }
        recordsCurrent = true;
    }

    const QList<TServerFile> files = transport->ListFiles();
    if (release)
        ReportMissing(files);
    QStringList names;
    QStringList stamps;
    QList<TIniEntry> adopted;
    QList<TIniEntry> adoptedHashes;
    for (const TServerFile &file : files) {
        const QString upper = file.Name.toUpper();
        if (options.SkipList.contains(upper) || file.Name.toLower().contains(QLatin1String(".download")))
            continue;
        // The manifest itself is not a file of the release.
        if (release && ReleaseFolder() == QString() && upper == QLatin1String(ManifestName))
            continue;
        if (const QString problem = NameProblem(relative, file.Name); !problem.isEmpty()) {
            Message(Text(FileFailed).arg(file.Name, problem));
            noted = true;
            continue;
        }
        try {
            bool chosen = Decide(file, root, relative, records, adopted);
            if (!chosen && release)
                chosen = ReleaseWants(file, root, relative, adoptedHashes);
            if (chosen) {
                if (release && !Listed(file.Name)) {
                    // Not part of the signed release: not fetched, its old copy and record stay.
                    Message(Text(FileFailed).arg(file.Name, QStringLiteral("not listed in the signed release")));
                    noted = true;
                    continue;
                }
                names << file.Name;
                stamps << file.Stamp;
            }
        } catch (const std::exception &failure) {
            Message(transport->IsSftp() ? Text(SftpCheckError).arg(file.Name, ErrorText(failure))
                                        : Text(FtpCheckError).arg(ErrorText(failure)));
            names.clear();
            stamps.clear();
            error = true;
            break;
        }
    }
    // Files adopted with their own times (or, signed, their hashes) are recorded in one write.
    if (!adopted.isEmpty() || !adoptedHashes.isEmpty() || !names.isEmpty())
        recordsCurrent = false;
    if (!adopted.isEmpty())
        log->WriteStamps(adopted);
    if (!adoptedHashes.isEmpty())
        log->WriteHashes(adoptedHashes);
    if (!names.isEmpty())
        Download(names, stamps, root, relative);
}

bool TUpdateRun::Private::Decide(const TServerFile &file, const QString &root, const QString &relative,
                                 const QHash<QString, QString> &records, QList<TIniEntry> &adopted)
{
    const QString &name = file.Name;
    const QString local = root + relative + name;
    const QString key = RecordKey(relative, name);
    QString record = records.value(key.toLower());
    if (record.isEmpty())
        record = QString::fromLatin1(NoRecordStamp);

    const QString once = CutSuffix(name, QLatin1String(".once"));
    if (!once.isEmpty() && QFileInfo::exists(local))
        QFile::remove(local);
    const QString syncName = CutSuffix(name, QLatin1String(".sync"));
    if (!syncName.isEmpty() && QFileInfo::exists(local))
        QFile::remove(local);

    if (QFileInfo::exists(local) || !once.isEmpty()) {
        if (record == QLatin1String(NoRecordStamp) && QFileInfo::exists(local)) {
            if (const QString own = LocalStamp(local); !own.isEmpty()) {
                record = own;
                adopted.append({key, own});
            }
        }
        return file.Stamp > record;
    }
    if (!syncName.isEmpty()) {
        const QString target = root + relative + syncName;
        // A target that is there but cannot be read keeps the record as its time.
        QString compared = QString::fromLatin1(NoRecordStamp);
        if (QFileInfo::exists(target)) {
            const QString own = LocalStamp(target);
            compared = own.isEmpty() ? record : own;
        }
        return file.Stamp.left(14) != compared.left(14);
    }
    return true;
}

void TUpdateRun::Private::Download(const QStringList &names, const QStringList &stamps, const QString &root,
                                   const QString &relative)
{
    for (qsizetype k = 0; k < names.size(); ++k) {
        progress.OverallStep(k + 1, names.size());
        try {
            DownloadOne(names[k], stamps[k], root, relative);
        } catch (const TContentMismatch &refused) {
            // Refused, reported; the walk goes on.
            Message(Text(FileFailed).arg(names[k], refused.Message()));
            noted = true;
        } catch (const std::exception &failure) {
            Message(Text(FileFailed).arg(names[k], ErrorText(failure)));
            error = true;
        }
    }
    progress.DownloadsDone();
}

void TUpdateRun::Private::DownloadOne(const QString &name, const QString &stamp, const QString &root,
                                      const QString &relative)
{
    const qint64 size = transport->Size(name);
    progress.ExpectSize(size);

    const QString target = root + relative + TargetName(name);
    const QString pending = root + relative + name + QStringLiteral(".download");
    if (QFileInfo::exists(pending) && !QFile::remove(pending))
        throw TException(QStringLiteral("Cannot remove %1").arg(pending));
    progress.FileStarted(name);

    TPlacement placement;
    placement.ServerName = name;
    placement.Pending = pending;
    placement.Target = target;
    placement.Stamp = stamp;
    placement.Key = RecordKey(relative, name);
    placement.TargetExisted = QFileInfo::exists(target);
    const TExpectedContent expected = Expected(name, size);
    placement.Sha256 = expected.Sha256;
    try {
        transport->Get(name, pending, expected);
    } catch (...) {
        QFile::remove(pending);
        throw;
    }
    if (PlaceFile(placement, programFolder, *log, Report()) != TPlaceResult::Placed)
        return;

    const QString lower = name.toLower();
    if (!options.Extract || !(lower.endsWith(QLatin1String(".zip")) || lower.endsWith(QLatin1String(".7z"))))
        return;
    try {
        ExtractArchive(target, root + relative, programFolder, options.SkipList);
    } catch (...) {
        // An archive that did not unpack is fetched again next time.
        QFile::remove(target);
        log->DeleteStamp(placement.Key);
        throw;
    }
}
