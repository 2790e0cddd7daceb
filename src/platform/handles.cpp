#include "platform/handles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <dlfcn.h>

namespace Platform {
namespace {

struct TLibrary
{
    void *Handle = nullptr;
    QString Path;
};

struct TRegistry
{
    std::uint32_t Next = 1;
    QHash<std::uint32_t, QPointer<QWidget>> Windows;
    QHash<const QWidget *, std::uint32_t> WindowNumbers;
    QHash<std::uint32_t, TLibrary> Libraries;

    std::uint32_t Take()
    {
        const std::uint32_t number = Next++;
        if (Next == 0)
            Next = 1;
        return number;
    }
};

TRegistry &Registry()
{
    static TRegistry registry;
    return registry;
}

} // namespace

TWindowMessageEvent::TWindowMessageEvent(std::uint32_t message)
    : QEvent(EventType())
    , m_message(message)
{
}

TWindowMessageEvent::~TWindowMessageEvent() = default;

QEvent::Type TWindowMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

std::uint32_t WindowHandle(QWidget *window)
{
    if (!window)
        return 0;
    TRegistry &registry = Registry();
    if (const auto found = registry.WindowNumbers.constFind(window); found != registry.WindowNumbers.cend())
        return *found;
    const std::uint32_t number = registry.Take();
    registry.Windows.insert(number, window);
    registry.WindowNumbers.insert(window, number);
    QObject::connect(window, &QObject::destroyed, window, [number](QObject *gone) {
        Registry().Windows.remove(number);
        Registry().WindowNumbers.remove(static_cast<QWidget *>(gone));
    });
    return number;
}

QWidget *WindowFromHandle(std::uint32_t handle)
{
    return Registry().Windows.value(handle).data();
}

bool PostWindowMessage(std::uint32_t handle, std::uint32_t message)
{
    QWidget *window = WindowFromHandle(handle);
    if (!window)
        return false;
    QCoreApplication::postEvent(window, new TWindowMessageEvent(message));
    return true;
}

QString OwnedCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

std::uint32_t LoadLibraryFile(const QString &path, QString *error)
{
    // dlopen searches the library path only for a bare name; an absolute path names
    // exactly one file.
    const QString file = QFileInfo(path).absoluteFilePath();
    void *handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = QString::fromLocal8Bit(dlerror());
        return 0;
    }
    TRegistry &registry = Registry();
    const std::uint32_t number = registry.Take();
    registry.Libraries.insert(number, TLibrary{handle, file});
    return number;
}

void *LibrarySymbol(std::uint32_t library, const char *name)
{
    const auto found = Registry().Libraries.constFind(library);
    if (found == Registry().Libraries.cend() || !name)
        return nullptr;
    return dlsym(found->Handle, name);
}

bool FreeLibraryHandle(std::uint32_t library)
{
    const TLibrary entry = Registry().Libraries.take(library);
    if (!entry.Handle)
        return false;
    return dlclose(entry.Handle) == 0;
}

QString LibraryPath(std::uint32_t library)
{
    return Registry().Libraries.value(library).Path;
}

} // namespace Platform
