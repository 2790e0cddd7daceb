#pragma once

#include <QString>
#include <QStringList>

// What the updater's command line asks of one start.

/// What the start shows: nothing, the settings dialog, or an update run.
enum class TSkyrunMode { None, Config, Run };

/// The transport a run uses; the command line may override the settings file's choice.
enum class TTransport { Default, Ftp, Sftp };

/// The options of one start, fixed before any window exists.
struct TRunOptions
{
    TSkyrunMode Mode = TSkyrunMode::None;
    /// Where the files of the base directory go; always ends with "/".
    QString LocalBase;
    bool Silent = false;
    TTransport Transport = TTransport::Default;
    /// SFTP downloads take the server's times.
    bool PreserveTimes = false;
    bool Extract = true;
    /// Upper-cased file names never fetched nor unpacked from an archive.
    QStringList SkipList;
    /// What is started after the window has closed; empty for nothing.
    QString FollowUp;
};

/// Reads the arguments after the program name. The first argument chooses the mode:
/// exactly "config" alone opens the settings, "run" followed by more runs an update;
/// anything else shows nothing. From the second argument on, "/cr" takes the next
/// argument as the local base folder when that folder exists, "-sc" makes the run
/// silent, "-ftp"/"-sftp" choose the transport (the last wins), "-pft" keeps server
/// times, "-uz" turns unpacking off, any other "-name" adds the upper-cased file-name
/// part of name to the skip list; every other argument becomes part of the follow-up
/// command, which is not started when it reads "alone". As with the platform's own
/// argument splitting, an empty argument ends the list.
TRunOptions ParseRunOptions(const QStringList &arguments, const QString &programFolder);
