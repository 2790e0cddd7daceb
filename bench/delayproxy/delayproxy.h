#pragma once

#include <chrono>
#include <memory>

/// A TCP proxy on loopback that stands in for a distant server: every byte is held for
/// a fixed time in each direction, in order, with no limit on bandwidth. It runs on a
/// thread of its own from construction to destruction.
class TDelayProxy
{
public:
    /// Listens on a free port of 127.0.0.1 and forwards each connection to `targetPort`
    /// there; a round trip through it takes twice `oneWayDelay` longer.
    TDelayProxy(int targetPort, std::chrono::microseconds oneWayDelay);
    ~TDelayProxy();
    TDelayProxy(const TDelayProxy &) = delete;
    TDelayProxy &operator=(const TDelayProxy &) = delete;

    int Port() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
