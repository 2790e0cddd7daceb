#pragma once

// Internal: the change notification of the published properties. Not installed.

#include <exception>
#include <utility>

/// While a grid loads a design its properties change many times over, and a failed load
/// puts the old values back: no notification is sent then. The grid notifies once, when the
/// load has ended, for each property whose value the load changed (TwCustomGrid::EndLoading).
inline thread_local int t_twNotificationsHeld = 0;

/// Calls `notify` on leaving the scope when `read` then gives another value than on entering:
/// a setter with several exits, or one that clamps, notifies once and only for a real change.
/// A handler may throw (the grid reports what its handlers throw): the exception leaves the
/// setter. A setter left by an exception notifies nothing.
template<typename Read, typename Notify>
class TwNotifyOnChange
{
public:
    TwNotifyOnChange(Read read, Notify notify)
        : m_read(std::move(read))
        , m_notify(std::move(notify))
        , m_old(m_read())
        , m_exceptions(std::uncaught_exceptions())
    {
    }
    ~TwNotifyOnChange() noexcept(false)
    {
        if (t_twNotificationsHeld == 0 && std::uncaught_exceptions() == m_exceptions && !(m_read() == m_old))
            m_notify();
    }
    TwNotifyOnChange(const TwNotifyOnChange &) = delete;
    TwNotifyOnChange &operator=(const TwNotifyOnChange &) = delete;

private:
    Read m_read;
    Notify m_notify;
    decltype(std::declval<Read>()()) m_old;
    int m_exceptions;
};
