// An epoll loop: bytes read from one side wait in a queue with their release time and
// are written to the other side once it has passed, so each direction is one FIFO.

#include "delayproxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <deque>
#include <list>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, as the timer below

constexpr std::size_t ReadSize = 256 * 1024;

struct TChunk
{
    Clock::time_point release;
    std::vector<char> bytes; // empty: the sender has finished
    std::size_t sent = 0;
};

// One direction of a connection.
struct TFlow
{
    int from = -1;
    int to = -1;
    std::deque<TChunk> queue;
    bool readEnded = false;  // end of stream read from `from`
    bool delivered = false;  // that end passed on to `to`
    bool blocked = false;    // `to` is full; waiting to be writable
    bool watched = true;     // `from` is registered with epoll
};

struct TLink
{
    TFlow up;   // client → server
    TFlow down; // server → client
    bool broken = false;
};

[[noreturn]] void Fail(const char *what)
{
    throw std::runtime_error(std::string("delay proxy: ") + what + ": " + std::to_string(errno));
}

void Tune(int fd)
{
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

} // namespace

struct TDelayProxy::Private
{
    int listener = -1;
    int epoll = -1;
    int wake = -1;
    int timer = -1;
    int port = 0;
    int targetPort = 0;
    Clock::duration delay{};
    std::list<TLink> links;
    std::vector<char> scratch = std::vector<char>(ReadSize);
    std::thread thread;

    void Watch(int fd, std::uint32_t events, void *tag, int operation = EPOLL_CTL_ADD)
    {
        epoll_event event{};
        event.events = events;
        event.data.ptr = tag;
        ::epoll_ctl(epoll, operation, fd, &event);
    }

    // Which events each side of a link waits for now.
    void Rewatch(TLink &link)
    {
        for (TFlow *flow : {&link.up, &link.down}) {
            const TFlow &back = flow == &link.up ? link.down : link.up; // writes into flow->from
            std::uint32_t events = 0;
            if (!flow->readEnded)
                events |= EPOLLIN;
            if (back.blocked)
                events |= EPOLLOUT;
            // A socket with nothing left to wait for leaves the set: a half-closed one
            // would otherwise report itself again and again.
            if (events == 0) {
                if (flow->watched)
                    ::epoll_ctl(epoll, EPOLL_CTL_DEL, flow->from, nullptr);
                flow->watched = false;
                continue;
            }
            Watch(flow->from, events, &link, flow->watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD);
            flow->watched = true;
        }
    }

    void Accept()
    {
        for (;;) {
            const int client = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (client < 0)
                return;
            const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(targetPort));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (server < 0 || ::connect(server, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
                ::close(client);
                if (server >= 0)
                    ::close(server);
                continue;
            }
            ::fcntl(server, F_SETFL, ::fcntl(server, F_GETFL) | O_NONBLOCK);
            Tune(client);
            Tune(server);
            TLink &link = links.emplace_back();
            link.up.from = link.down.to = client;
            link.up.to = link.down.from = server;
            Watch(client, EPOLLIN, &link);
            Watch(server, EPOLLIN, &link);
        }
    }

    void ReadInto(TFlow &flow, TLink &link)
    {
        for (int round = 0; round < 16 && !flow.readEnded; ++round) {
            const ssize_t n = ::read(flow.from, scratch.data(), scratch.size());
            if (n < 0) {
                if (errno != EAGAIN && errno != EINTR)
                    link.broken = true;
                return;
            }
            // Each chunk holds just what was read: many small ones may wait at once.
            flow.readEnded = n == 0;
            flow.queue.push_back({Clock::now() + delay, std::vector<char>(scratch.begin(), scratch.begin() + n), 0});
        }
    }

    // Writes out what is due, until `to` is full.
    void Release(TFlow &flow, TLink &link, Clock::time_point now)
    {
        flow.blocked = false;
        while (!flow.queue.empty() && flow.queue.front().release <= now) {
            TChunk &chunk = flow.queue.front();
            if (chunk.bytes.empty()) {
                ::shutdown(flow.to, SHUT_WR);
                flow.delivered = true;
                flow.queue.pop_front();
                continue;
            }
            const ssize_t n = ::send(flow.to, chunk.bytes.data() + chunk.sent, chunk.bytes.size() - chunk.sent,
                                     MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EAGAIN)
                    flow.blocked = true;
                else if (errno != EINTR)
                    link.broken = true;
                return;
            }
            chunk.sent += static_cast<std::size_t>(n);
            if (chunk.sent == chunk.bytes.size())
                flow.queue.pop_front();
        }
    }

    void ArmTimer()
    {
        Clock::time_point next = Clock::time_point::max();
        for (const TLink &link : links) {
            for (const TFlow *flow : {&link.up, &link.down}) {
                if (!flow->queue.empty() && !flow->blocked && flow->queue.front().release < next)
                    next = flow->queue.front().release;
            }
        }
        itimerspec due{};
        if (next != Clock::time_point::max()) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(next.time_since_epoch()).count();
            due.it_value.tv_sec = ns / 1000000000;
            due.it_value.tv_nsec = ns % 1000000000;
            if (due.it_value.tv_sec == 0 && due.it_value.tv_nsec == 0)
                due.it_value.tv_nsec = 1;
        }
        ::timerfd_settime(timer, TFD_TIMER_ABSTIME, &due, nullptr);
    }

    void Loop()
    {
        std::vector<epoll_event> events(64);
        for (;;) {
            const int count = ::epoll_wait(epoll, events.data(), static_cast<int>(events.size()), -1);
            for (int i = 0; i < count; ++i) {
                void *tag = events[static_cast<std::size_t>(i)].data.ptr;
                if (tag == &wake)
                    return;
                if (tag == &listener) {
                    Accept();
                } else if (tag == &timer) {
                    std::uint64_t expirations = 0;
                    [[maybe_unused]] const ssize_t n = ::read(timer, &expirations, sizeof expirations);
                } else {
                    auto &link = *static_cast<TLink *>(tag);
                    if (!link.up.readEnded)
                        ReadInto(link.up, link);
                    if (!link.down.readEnded)
                        ReadInto(link.down, link);
                }
            }
            const Clock::time_point now = Clock::now();
            for (auto it = links.begin(); it != links.end();) {
                Release(it->up, *it, now);
                Release(it->down, *it, now);
                if (it->broken || (it->up.delivered && it->down.delivered)) {
                    ::close(it->up.from);
                    ::close(it->up.to);
                    it = links.erase(it);
                    continue;
                }
                Rewatch(*it);
                ++it;
            }
            ArmTimer();
        }
    }
};

TDelayProxy::TDelayProxy(int targetPort, std::chrono::microseconds oneWayDelay)
    : d(std::make_unique<Private>())
{
    d->targetPort = targetPort;
    d->delay = oneWayDelay;
    d->listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (d->listener < 0 || ::bind(d->listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(d->listener, 64) != 0
        || ::getsockname(d->listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        Fail("listen");
    d->port = ntohs(address.sin_port);
    d->epoll = ::epoll_create1(EPOLL_CLOEXEC);
    d->wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    d->timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (d->epoll < 0 || d->wake < 0 || d->timer < 0)
        Fail("epoll");
    d->Watch(d->listener, EPOLLIN, &d->listener);
    d->Watch(d->wake, EPOLLIN, &d->wake);
    d->Watch(d->timer, EPOLLIN, &d->timer);
    d->thread = std::thread([this] { d->Loop(); });
}

TDelayProxy::~TDelayProxy()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(d->wake, &one, sizeof one);
    d->thread.join();
    for (const TLink &link : d->links) {
        ::close(link.up.from);
        ::close(link.up.to);
    }
    for (const int fd : {d->listener, d->epoll, d->wake, d->timer})
        ::close(fd);
}

int TDelayProxy::Port() const
{
    return d->port;
}
