#pragma once

// Windows and loaded libraries named by 32-bit numbers, for the 4-byte fields of the
// records that cross into business modules (a main window, a module's library, the
// message a module posts when its window closes). Numbers start at 1 and are never
// reused within a run; 0 names nothing.

#include "platform/platformexport.h"

#include <QEvent>
#include <QString>

#include <cstdint>

class QWidget;

namespace Platform {

/// The first message number free for the programs' own use.
inline constexpr std::uint32_t WM_USER = 1024;

/// A numbered message posted to a window; the window sees it in its event() handler.
class TOVEL_PLATFORM_EXPORT TWindowMessageEvent : public QEvent
{
public:
    explicit TWindowMessageEvent(std::uint32_t message);
    ~TWindowMessageEvent() override;

    static QEvent::Type EventType();
    std::uint32_t Message() const { return m_message; }

private:
    std::uint32_t m_message;
};

/// The number of `window`, given on first request and dropped when the window goes.
TOVEL_PLATFORM_EXPORT std::uint32_t WindowHandle(QWidget *window);
/// The window a number names, or null when it names none (any more).
TOVEL_PLATFORM_EXPORT QWidget *WindowFromHandle(std::uint32_t handle);
/// Queues `message` for the window `handle` names; false when it names no window.
TOVEL_PLATFORM_EXPORT bool PostWindowMessage(std::uint32_t handle, std::uint32_t message);

/// A copy of `text` that owns its characters. Text kept after the library that made it
/// may be unloaded must be one: a literal of that library is referenced, not copied.
TOVEL_PLATFORM_EXPORT QString OwnedCopy(const QString &text);

/// Loads exactly the library file at `path` (never one found by a search path) and
/// returns its number, or 0 with the loader's reason in `*error`.
TOVEL_PLATFORM_EXPORT std::uint32_t LoadLibraryFile(const QString &path, QString *error = nullptr);
/// The address of the exported `name` of a loaded library, or null.
TOVEL_PLATFORM_EXPORT void *LibrarySymbol(std::uint32_t library, const char *name);
/// Unloads a library loaded by LoadLibraryFile; false when the number names none.
TOVEL_PLATFORM_EXPORT bool FreeLibraryHandle(std::uint32_t library);
/// The file a loaded library was loaded from (empty when the number names none).
TOVEL_PLATFORM_EXPORT QString LibraryPath(std::uint32_t library);

} // namespace Platform
