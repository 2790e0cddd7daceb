#pragma once

#include "platform/messagebox.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

/// Records every message box shown while it lives instead of showing it, answering
/// each with `answer`.
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(Platform::TMsgButton answer = Platform::mbOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder &) = delete;
    MessageBoxRecorder &operator=(const MessageBoxRecorder &) = delete;

    const std::vector<Platform::TMessageBoxCall> &Calls() const { return m_calls; }
    /// "caption|text|icon" of each box, joined by "\n".
    QString Summary() const;
    void Clear() { m_calls.clear(); }

private:
    std::vector<Platform::TMessageBoxCall> m_calls;
    Platform::TMessageBoxHook m_previous;
};

/// How many times slower code runs in the sanitized build: bounds that only guard against a
/// hang (not speed targets, which the benchmarks measure) are scaled by it.
#ifdef TOVEL_SANITIZED
constexpr int SanitizerSlowdown = 4;
#else
constexpr int SanitizerSlowdown = 1;
#endif

/// An environment variable as text (empty when unset); the test runner passes the servers'
/// ports and the build's folders this way.
inline QString Env(const char *name)
{
    return qEnvironmentVariable(name);
}

/// A UTF-8 literal (Korean texts in the tests) as a QString.
inline QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

QByteArray ReadFileBytes(const QString &path);
void WriteFileBytes(const QString &path, const QByteArray &bytes);
QString IconName(Platform::TMsgIcon icon);
/// Where a test saves a picture to be looked at: the folder "pictures" of the build, made
/// when missing, so that no run writes into the checkout, whatever its working folder.
QString PicturePath(const QString &name);

#include <ostream>

/// Lets GoogleTest print QString values readably in failure messages.
void PrintTo(const QString &text, std::ostream *out);

class QWidget;

/// Runs `drive` on the modal dialog as soon as it shows; a dialog still open after `drive`
/// or never shown fails the test instead of hanging it.
void WhenModal(std::function<void(QWidget *)> drive);

/// Processes events until `condition` holds, for at most `ms` milliseconds (scaled for the
/// sanitized build); whether it came to hold.
bool WaitUntil(const std::function<bool()> &condition, int ms = 5000);

/// A GoogleTest failure if `condition` does not come to hold within five seconds of event
/// processing. (Qt's QTRY_ macros only return from the test function when they time out,
/// which GoogleTest does not count as a failure.)
#define EXPECT_SOON(condition) \
    EXPECT_TRUE(WaitUntil([&] { return static_cast<bool>(condition); })) << "never came to hold: " #condition
#define ASSERT_SOON(condition) \
    ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(condition); })) << "never came to hold: " #condition

/// The message of the TException that `action` throws, or "(no error)".
QString ErrorOf(const std::function<void()> &action);
