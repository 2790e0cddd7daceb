#include "platform/signalevents.h"

#include <QPointer>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Platform {
namespace {

constexpr int MaxSignal = 65;

struct TSignalPipe
{
    int sockets[2] = {-1, -1};
    QPointer<QSocketNotifier> notifier;
};

std::array<TSignalPipe, MaxSignal> g_pipes;

void OnAnySignal(int signal)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipes[static_cast<std::size_t>(signal)].sockets[0], &byte, 1);
}

} // namespace

void OnSignal(int signal, QObject *context, std::function<void()> handler)
{
    if (signal <= 0 || signal >= MaxSignal)
        return;
    TSignalPipe &pipe = g_pipes[static_cast<std::size_t>(signal)];
    if (pipe.sockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipe.sockets) != 0)
        return;
    delete pipe.notifier;
    pipe.notifier = new QSocketNotifier(pipe.sockets[1], QSocketNotifier::Read, context);
    const int readEnd = pipe.sockets[1];
    QObject::connect(pipe.notifier, &QSocketNotifier::activated, context, [readEnd, handler = std::move(handler)] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(readEnd, &byte, 1);
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = OnAnySignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace Platform
