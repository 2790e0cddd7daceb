#pragma once

// Internal: the change notification of the published properties. Not installed.

#include <exception>
#include <utility>

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
        if (std::uncaught_exceptions() == m_exceptions && !(m_read() == m_old))
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
