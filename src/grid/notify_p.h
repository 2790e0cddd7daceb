#pragma once

// Internal: the change notification of the published properties. Not installed.

#include <utility>

/// Calls `notify` on leaving the scope when `read` then gives another value than on entering:
/// a setter with several exits, or one that clamps, notifies once and only for a real change.
template<typename Read, typename Notify>
class TwNotifyOnChange
{
public:
    TwNotifyOnChange(Read read, Notify notify)
        : m_read(std::move(read))
        , m_notify(std::move(notify))
        , m_old(m_read())
    {
    }
    ~TwNotifyOnChange()
    {
        if (!(m_read() == m_old))
            m_notify();
    }
    TwNotifyOnChange(const TwNotifyOnChange &) = delete;
    TwNotifyOnChange &operator=(const TwNotifyOnChange &) = delete;

private:
    Read m_read;
    Notify m_notify;
    decltype(std::declval<Read>()()) m_old;
};
