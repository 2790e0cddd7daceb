#pragma once

#include <QString>
#include <QStringList>

// The updater's server settings (skyrun.ini) and the list of server directories a run
// walks (the settings' path list and skyrun2.cfg), all kept in the program folder.

inline constexpr char SkyrunIniName[] = "skyrun.ini";
inline constexpr char SkyrunCfgName[] = "skyrun2.cfg";
inline constexpr char FileServerSection[] = "FILESERVER";
inline constexpr char PublicKeyName[] = "PUBLICKEY";

/// The server settings of one read; owned by the caller.
struct TServerInfo
{
    QString IP;
    QString Port;
    bool Passive = false;
    QString Path;
    QString ID;
    QString PW;
    QString TransType;
    /// The release key the workstation trusts, as the Base64 text SkyrunSign keygen
    /// prints; empty (the default) when releases are not checked.
    QString PublicKey;

    friend bool operator==(const TServerInfo &, const TServerInfo &) = default;
};

/// Reads skyrun.ini of `programFolder`. A missing file or key gives the defaults: no
/// host, port "21", active mode, path "/", transfer type "FTP", no public key. A stored
/// value that is not Base64 throws TException "Base64: Incorrect string format".
TServerInfo ReadServerInfo(const QString &programFolder);
TServerInfo ReadServerInfo();
/// The release key as skyrun.ini of `programFolder` holds it, read without decoding
/// anything else (so a broken neighbouring value does not hide it); empty when none.
QString StoredPublicKey(const QString &programFolder);

/// Writes every key of `info` into skyrun.ini of `programFolder`, one after the other:
/// IP, PORT, PATH, ID, PW (Base64 of their code page 949 text), PSVT (1 or 0) and
/// TRANSTYPE, then PUBLICKEY when there is one (an empty key removes it, so a file
/// without one stays as it was). A file it creates is readable and writable by its owner only, as it holds
/// the password. Throws TException, before writing anything, when a text cannot be held
/// in code page 949, and when the file cannot be written.
void WriteServerInfo(const TServerInfo &info, const QString &programFolder);
void WriteServerInfo(const TServerInfo &info);

/// Splits a path list into its entries: ";" or any run of characters 1 to 32 ends an
/// entry; double quotes keep such characters inside one ("" inside quotes is one quote).
QStringList SplitPathList(const QString &pathList);

/// The fixed rewriting of one trimmed entry: " " → "_", "\" → "/", "+/" → "+",
/// "/+" → "/", "//" → "/", each a single pass over the whole text.
QString NormalizePathEntry(const QString &entry);

/// The server directories a run walks, in order: the base (first entry of `pathList`,
/// as "/dir/"), then the later entries of `pathList` and then those of skyrun2.cfg in
/// `programFolder`. Entries with a leading "+" lie under the base; others are absolute.
/// No entry gives an empty list.
QStringList BuildDirectoryList(const QString &pathList, const QString &programFolder);
QStringList BuildDirectoryList(const QString &pathList);
