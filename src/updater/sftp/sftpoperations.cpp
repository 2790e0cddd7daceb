// The file and directory operations of the SFTP client.

#include "updater/sftp/simplesftp.h"

#include "platform/filetimes.h"
#include "updater/sftp/sftpfailure.h"

#include <QFileInfo>

namespace {

using Sftp::ItemKind;

constexpr std::uint32_t AttrSize = 0x1;
constexpr std::uint32_t AttrUidGid = 0x2;
constexpr std::uint32_t AttrPermissions = 0x4;
constexpr std::uint32_t AttrTimes = 0x8;
constexpr std::uint32_t AttrExtended = 0x80000000;

// A listing that goes on past these bounds is a server that never says "end of file";
// honest servers send about a hundred names per reply, the first holding "." and "..".
constexpr std::uint64_t MaxListingEntries = 100000;
constexpr int MaxListingReplies = 100000;
// Replies in a row that add no entry the caller gets (empty, or only unsafe names).
constexpr int MaxRepliesWithoutEntry = 100;
// What one listing may bring in, in reply bytes; its entries take at most twice that.
constexpr qsizetype MaxListingBytes = 32 * 1024 * 1024;
// Longer than any path a file system gives; a name or long name past it is refused.
constexpr qsizetype MaxNameLength = 4096;

using Sftp::Raise;

QByteArray Path(const QString &path)
{
    return path.toUtf8();
}

QString Text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

void ParseAttributes(Sftp::TPayloadReader &reader, TSFTPFileAttributes &attributes)
{
    attributes.Flags = reader.ReadUint32();
    if (attributes.Flags & AttrSize)
        attributes.Size = reader.ReadUint64();
    if (attributes.Flags & AttrUidGid) {
        reader.ReadUint32();
        reader.ReadUint32();
    }
    if (attributes.Flags & AttrPermissions)
        attributes.Permissions = reader.ReadUint32();
    if (attributes.Flags & AttrTimes) {
        attributes.AccessTime = reader.ReadUint32();
        attributes.ModifyTime = reader.ReadUint32();
    }
    if (attributes.Flags & AttrExtended) {
        attributes.ExtendedCount = reader.ReadUint32();
        if (attributes.ExtendedCount > reader.Remaining() / 8)
            Raise(QStringLiteral("Malformed packet from the server"));
        for (std::uint32_t i = 0; i < attributes.ExtendedCount; ++i) {
            reader.ReadString();
            reader.ReadString();
        }
    }
}

std::uint8_t FileTypeOf(const TSFTPFileAttributes &attributes)
{
    constexpr std::uint32_t TypeMask = 0170000;
    if (const std::uint32_t kind = attributes.Permissions & TypeMask) {
        switch (kind) {
        case 0120000:
            return 3;
        case 0100000:
            return 1;
        case 0040000:
            return 2;
        default:
            return 5;
        }
    }
    if (attributes.LongName.isEmpty())
        return 0;
    switch (attributes.LongName.front().unicode()) {
    case '-':
        return 1;
    case 'd':
    case '/':
        return 2;
    case 'l':
        return 3;
    default:
        return 5;
    }
}

// A name that is not a plain file name of this folder could make a caller write
// outside its target folder.
bool IsPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace

void TSimpleSFTP::ParseNames(const QByteArray &payload, bool withAttributes, TSFTPFileList &list, bool forCallers,
                             const QString &prefix)
{
    Sftp::TPayloadReader reader(payload);
    const std::uint32_t count = reader.ReadUint32();
    const qsizetype smallest = withAttributes ? 12 : 8;
    if (count > static_cast<std::uint64_t>(reader.Remaining() / smallest))
        Raise(QStringLiteral("Malformed packet from the server"));
    for (std::uint32_t i = 0; i < count; ++i) {
        TSFTPFileAttributes attributes;
        const QByteArray name = reader.ReadString();
        const QByteArray longName = reader.ReadString();
        if (qMax(name.size(), longName.size()) > MaxNameLength)
            Raise(prefix + QStringLiteral(" (name longer than %1 bytes)").arg(MaxNameLength));
        if (withAttributes)
            ParseAttributes(reader, attributes);
        attributes.FileName = Text(name);
        attributes.LongName = Text(longName);
        attributes.FileType = FileTypeOf(attributes);
        if (forCallers && !IsPlainName(attributes.FileName))
            continue;
        list.Add(attributes);
    }
}

QString TSimpleSFTP::RealPath(const QString &path)
{
    const QString prefix = QStringLiteral("Unable to set path: ") + path;
    std::uint8_t type = 0;
    const QByteArray payload = Request(Sftp::REALPATH, {Path(path)}, {ItemKind::String}, type);
    CheckStatus(type, payload, prefix);
    if (type != Sftp::NAME)
        Raise(prefix);
    TSFTPFileList names;
    ParseNames(payload, false, names, false, prefix);
    if (names.Count() == 0)
        Raise(prefix);
    return names.Items(0).FileName;
}

QString TSimpleSFTP::ChangeDir(const QString &path)
{
    QString target = path.isEmpty() ? QStringLiteral(".") : path;
    if (!target.startsWith(PathDelim))
        target.prepend(CurrentDir.endsWith(PathDelim) ? CurrentDir : CurrentDir + PathDelim);
    const QString resolved = RealPath(target);
    CloseRemoteHandle(OpenDir(resolved));
    CurrentDir = resolved;
    return resolved;
}

QByteArray TSimpleSFTP::RequestHandle(std::uint8_t type, const QList<QByteArray> &values,
                                      const QList<Sftp::ItemKind> &kinds, const QString &prefix)
{
    std::uint8_t replyType = 0;
    const QByteArray payload = Request(type, values, kinds, replyType);
    CheckStatus(replyType, payload, prefix);
    if (replyType != Sftp::HANDLE)
        Raise(prefix);
    Sftp::TPayloadReader reader(payload);
    QByteArray handle = reader.ReadString();
    if (handle.size() > Sftp::MaxHandleLength)
        Raise(prefix + QStringLiteral(" (handle longer than %1 bytes)").arg(Sftp::MaxHandleLength));
    return handle;
}

QByteArray TSimpleSFTP::OpenDir(const QString &path)
{
    return RequestHandle(Sftp::OPENDIR, {Path(path)}, {ItemKind::String}, QStringLiteral("Unable to open directory: ") + path);
}

void TSimpleSFTP::ReadDirInto(const QByteArray &handle, TSFTPFileList &list)
{
    list.Clear();
    const QString prefix = QStringLiteral("Unable to read directory: ") + Text(handle);
    const QByteArray request = BuildPacket(Sftp::READDIR, {handle}, {ItemKind::String}, true);
    const std::int32_t id = RequestId - 1;
    qsizetype bytes = 0;
    int withoutEntry = 0;
    for (int replies = 0;; ++replies) {
        if (replies >= MaxListingReplies || withoutEntry >= MaxRepliesWithoutEntry
            || static_cast<std::uint64_t>(list.Count()) > MaxListingEntries)
            Raise(prefix + QStringLiteral(" (the listing does not end)"));
        SendPacket(request);
        std::uint8_t type = 0;
        const QByteArray payload = ReceivePacket(id, type, true);
        if (type == Sftp::STATUS) {
            Sftp::TPayloadReader reader(payload);
            if (reader.ReadUint32() == Sftp::StatusEof)
                return;
            CheckStatus(type, payload, prefix);
            ++withoutEntry;
            continue;
        }
        if (type != Sftp::NAME)
            Raise(prefix + QStringLiteral(" (Unexpected packet type %1)").arg(type));
        bytes += payload.size();
        if (bytes > MaxListingBytes)
            Raise(prefix + QStringLiteral(" (the listing is larger than %1 MiB)").arg(MaxListingBytes >> 20));
        const int before = list.Count();
        ParseNames(payload, true, list, true, prefix);
        withoutEntry = list.Count() > before ? 0 : withoutEntry + 1;
    }
}

void TSimpleSFTP::ListDir(const QString &path, TSFTPFileList &list)
{
    const QByteArray handle = OpenDir(path);
    ReadDirInto(handle, list);
    try {
        CloseRemoteHandle(handle);
    } catch (const TException &) {
        // the listing is complete; a failed close changes nothing for the caller
    }
}

QByteArray TSimpleSFTP::OpenFile(const QString &path, std::uint32_t openFlags)
{
    // The attributes sent are only their flags word, 0.
    return RequestHandle(Sftp::OPEN, {Path(path), Sftp::Uint32(openFlags), Sftp::Uint32(0)},
                         {ItemKind::String, ItemKind::Raw, ItemKind::Raw}, QStringLiteral("Unable to open file: ") + path);
}

QByteArray TSimpleSFTP::ReadBlock(const QByteArray &handle, std::uint32_t length, std::uint64_t offset)
{
    const QString prefix = QStringLiteral("Unable to read file: ") + Text(handle);
    std::uint8_t type = 0;
    const QByteArray payload = Request(Sftp::READ, {handle, Sftp::Uint64(offset), Sftp::Uint32(length)},
                                       {ItemKind::String, ItemKind::Raw, ItemKind::Raw}, type);
    if (type == Sftp::DATA) {
        Sftp::TPayloadReader reader(payload);
        QByteArray data = reader.ReadString();
        if (static_cast<std::uint64_t>(data.size()) > length)
            Raise(prefix + QStringLiteral(" (more data than requested)"));
        return data;
    }
    if (type == Sftp::STATUS) {
        Sftp::TPayloadReader reader(payload);
        if (reader.ReadUint32() == Sftp::StatusEof)
            return {};
        CheckStatus(type, payload, prefix);
        return {};
    }
    Raise(prefix);
}

bool TSimpleSFTP::CloseRemoteHandle(const QByteArray &handle)
{
    std::uint8_t type = 0;
    const QByteArray payload = Request(Sftp::CLOSE, {handle}, {ItemKind::String}, type);
    CheckStatus(type, payload, QStringLiteral("Unable to close handle: ") + Text(handle));
    return true;
}

TSFTPFileAttributes TSimpleSFTP::StatPath(std::uint8_t kind, const QByteArray &argument)
{
    const QString prefix = QStringLiteral("Unable to get file attributes: ") + Text(argument);
    std::uint8_t type = 0;
    const QByteArray payload = Request(kind, {argument}, {ItemKind::String}, type);
    CheckStatus(type, payload, prefix);
    if (type != Sftp::ATTRS)
        Raise(prefix);
    TSFTPFileAttributes attributes;
    Sftp::TPayloadReader reader(payload);
    ParseAttributes(reader, attributes);
    return attributes;
}

std::uint64_t TSimpleSFTP::FileSize(const QString &path)
{
    const TSFTPFileAttributes attributes = StatPath(Sftp::STAT, Path(path));
    if (!(attributes.Flags & AttrSize))
        Raise(QStringLiteral("Unable to get file size"));
    return attributes.Size;
}

std::uint64_t TSimpleSFTP::HandleSize(const QByteArray &handle)
{
    const TSFTPFileAttributes attributes = StatPath(Sftp::FSTAT, handle);
    if (!(attributes.Flags & AttrSize))
        Raise(QStringLiteral("Unable to get file size"));
    return attributes.Size;
}

TSFTPFileTimes TSimpleSFTP::GetFileTimes(const QString &path)
{
    TSFTPFileTimes times;
    const TSFTPFileAttributes attributes = StatPath(Sftp::STAT, Path(path));
    if (attributes.Flags & AttrTimes) {
        times.AccessTime = attributes.AccessTime;
        times.ModifyTime = attributes.ModifyTime;
    }
    return times;
}

std::uint64_t TSimpleSFTP::UnixToFileTime(std::uint64_t seconds)
{
    return (seconds + 134774ull * 86400ull) * 10000000ull;
}

void TSimpleSFTP::SetLocalFileTimes(const QString &localFile, std::uint64_t accessTime, std::uint64_t /*createTime*/,
                                    std::uint64_t modifyTime)
{
    const QFileInfo info(localFile);
    if (!info.isFile() || !info.isWritable())
        Raise(QStringLiteral("Unable to set file times: ") + localFile);
    Platform::SetFileTimes(localFile, accessTime, modifyTime); // a failing set is ignored
}
