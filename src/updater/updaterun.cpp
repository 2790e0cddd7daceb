#include "updater/updaterun.h"

#include "platform/programfolder.h"
#include "platform/texception.h"
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
        for (int i = 0; i < dirs.size() && !dirs[i].isEmpty(); ++i) {
            const QString &dir = dirs[i];
            const QString local = LocalFolderOf(dir, dirs.front(), i, d->options.LocalBase);
            if (!d->transport->ChangeDir(dir)) {
                d->error = true;
                d->Message(Text(DirectoryErrorPrefix) + dir);
                break;
            }
            d->SyncDirectory(local);
            if (d->error)
                break;
        }
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
        recordsCurrent = true;
    }

    const QList<TServerFile> files = transport->ListFiles();
    QStringList names;
    QStringList stamps;
    QList<TIniEntry> adopted;
    for (const TServerFile &file : files) {
        const QString upper = file.Name.toUpper();
        if (options.SkipList.contains(upper) || file.Name.toLower().contains(QLatin1String(".download")))
            continue;
        if (const QString problem = NameProblem(relative, file.Name); !problem.isEmpty()) {
            Message(Text(FileFailed).arg(file.Name, problem));
            noted = true;
            continue;
        }
        try {
            if (Decide(file, root, relative, records, adopted)) {
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
    // Files adopted with their own times are recorded in one write.
    if (!adopted.isEmpty() || !names.isEmpty())
        recordsCurrent = false;
    if (!adopted.isEmpty())
        log->WriteStamps(adopted);
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
    try {
        transport->Get(name, pending, size);
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
