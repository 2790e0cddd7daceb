#pragma once

#include "platform/platformexport.h"

#include <QObject>

#include <functional>

namespace Platform {

/// Runs `handler` in the event loop of `context`'s thread each time the process receives
/// `signal` (SIGTERM, SIGUSR1 …), for as long as `context` lives. The signal handler
/// itself only writes a byte to a socket, which is all a handler may safely do; the work
/// happens when the event loop reads it. A later call for the same signal replaces the
/// earlier handler.
TOVEL_PLATFORM_EXPORT void OnSignal(int signal, QObject *context, std::function<void()> handler);

} // namespace Platform
