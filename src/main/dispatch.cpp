#include "main/dispatch.h"

#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "common/moduleloader.h"
#include "main/knownprograms.h"
#include "platform/application.h"
#include "platform/handles.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlDatabase>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

namespace {

struct TRecordSize
{
    int Size;
    const char *Programs;
};

// The size of each program's argument record: the 128-byte common head and the
// module's own tail.
constexpr TRecordSize RecordSizes[] = {
    {128, "SA30E J900E"},
    {136, "J290P SA27E"},
    {140, "CC02E CC03E CC04E J210P J250P J282E J284E J286E J602P JX20E SA01E SA02E SA04E SA06E SA07E SA14E SA15E "
          "SA16E SA17E SA40E SX31E SX33E SX35E SX40P"},
    {144, "J242P J245P J295P J296P SB36P"},
    {148, "J204P J280E J312E J368P J493P J494P SB01B"},
    {152, "J222P J352P J360P J364P J366P J370P J401E J402E J403E J404E J405P J406E J420P J432P J440P J462P J483P "
          "J485P J488P SA11P SA13E SB35P"},
    {156, "J218P J220P J395P J515P"},
    {160, "J202P J260E J350P J510P"},
    {164, "J321P J322P J324P J332P J334P J336P J340P J390P"},
    {168, "J302P J514P SA09P SA11E SA25E"},
    {172, "J310P J312P J314P J317P J337P J396P J421P J468P J470P J489P J490P J492P SA41E"},
    {180, "J292P J311E J397E SB03P"},
    {188, "J320P"},
    {192, "J326P J328P J330P"},
    {196, "J316P"},
    {204, "J380P"},
    {216, "J216P"},
    {604, "J512P"},
};

// Programs that open another program's module.
constexpr std::pair<const char *, const char *> BorrowedModules[] = {
    {"J280E", "SB01B"},
    {"SA09P", "SA11E"},
    {"SA11P", "SA13E"},
};

int RecordSizeOf(const QString &progId)
{
    if (progId.size() != 5)
        return 0;
    for (const TRecordSize &entry : RecordSizes) {
        for (const QString &id : QString::fromLatin1(entry.Programs).split(QLatin1Char(' '))) {
            if (id == progId)
                return entry.Size;
        }
    }
    return 0;
}

} // namespace

TModuleOfProgram ModuleOfProgram(const QString &progId)
{
    const int size = RecordSizeOf(progId);
    if (size == 0)
        return {};
    for (const auto &[program, module] : BorrowedModules) {
        if (progId == QLatin1String(program))
            return {QString::fromLatin1(module), size};
    }
    return {progId, size};
}

TModuleDispatch::TModuleDispatch(QWidget *mainWindow, QMdiArea *screen)
    : m_mainWindow(mainWindow)
    , m_screen(screen)
{
}

bool TModuleDispatch::ShowOpenWindow(const QString &progId)
{
    const auto entry = std::find_if(m_openForms.cbegin(), m_openForms.cend(),
                                    [&](const TMenuLinkForm &form) { return form.ProgId == progId; });
    if (entry == m_openForms.cend())
        return false;
    for (QMdiSubWindow *child : m_screen->subWindowList()) {
        if (WindowName(child) != entry->FormName)
            continue;
        if (child->isMinimized())
            child->showNormal();
        else
            child->show();
        m_screen->setActiveSubWindow(child);
        return true;
    }
    return false;
}

void TModuleDispatch::Dispatch(const TLoginInfo &user, const TProgramArea &area, QSqlDatabase &connection)
{
    const QString progId = QString::fromLatin1(area.ProgId, qstrnlen(area.ProgId, sizeof area.ProgId)).toUpper();
    const int position = KnownProgramIndex(progId);
    if (!connection.isValid())
        ZUL_DB_CONNNECT(&connection);

    std::uint32_t library = 0;
    QList<QPointer<QObject>> windows;
    QString failure;
    const TModuleOfProgram module = ModuleOfProgram(progId);
    if (!module.Module.isEmpty()) {
        QByteArray bytes(module.RecordSize, '\0');
        TModuleArgs args{};
        std::memcpy(&args.LoginInfo, &user, sizeof user);
        std::memcpy(reinterpret_cast<char *>(&args) + offsetof(TModuleArgs, ProgId), &area, sizeof area);
        args.MainWnd = Platform::WindowHandle(m_mainWindow);
        args.ModuleHandle = 0;
        args.CloseMsg = FirstCloseMessage + static_cast<std::uint32_t>(position);
        std::memcpy(bytes.data(), &args, sizeof args);

        library = ModuleLoader::LoadModule(ModuleLoader::ModulePath(Platform::ProgramFolder(), module.Module));
        if (library != 0) {
            const TModuleShowEntry *entry = ModuleLoader::ShowEntry(library, module.Module);
            if (entry && entry->ShowInFrame) {
                const QList<QMdiSubWindow *> before = m_screen->subWindowList();
                try {
                    entry->ShowInFrame(qobject_cast<QApplication *>(QCoreApplication::instance()), m_screen,
                                       &connection, reinterpret_cast<const TModuleArgs *>(bytes.constData()),
                                       static_cast<std::uint32_t>(bytes.size()));
                } catch (...) {
                    // The error object is the module's: its text is taken while the module
                    // is loaded. A window it may have opened keeps the library until it closes.
                    failure = Platform::ExceptionText(std::current_exception());
                }
                for (QMdiSubWindow *child : m_screen->subWindowList()) {
                    if (!before.contains(child))
                        windows.append(child);
                }
                if (!failure.isEmpty() && windows.isEmpty()) {
                    UnloadWhenWindowsAreGone(library, {});
                    library = 0;
                }
            } else {
                // Nothing was called, so nothing will ever ask for the library to go.
                ModuleLoader::UnloadModule(library);
                library = 0;
            }
        }
    }
    if (position >= 0) {
        TLoadedModule &slot = m_modules[static_cast<std::size_t>(position)];
        slot.Library = library;
        slot.Windows = windows;
    }
    if (!failure.isEmpty())
        Platform::ReportError(failure);
}

void TModuleDispatch::RecordOpenWindows(const QString &progId)
{
    const QList<QMdiSubWindow *> children = m_screen->subWindowList();
    if (children.isEmpty())
        return;
    m_openForms.append(TMenuLinkForm{});
    for (auto child = children.crbegin(); child != children.crend(); ++child) {
        // A copy that owns its characters: a module's literal name would otherwise be
        // read after the module has been unloaded.
        const QString name = Platform::OwnedCopy(WindowName(*child));
        qsizetype free = -1;
        bool known = false;
        for (qsizetype i = m_openForms.size() - 1; i >= 0; --i) {
            const TMenuLinkForm &form = m_openForms.at(i);
            if (!form.ProgId.isEmpty() && form.FormName == name) {
                known = true;
                break;
            }
            if (form.ProgId.isEmpty())
                free = i;
        }
        if (!known)
            m_openForms[free >= 0 ? free : m_openForms.size() - 1] = TMenuLinkForm{progId, name};
    }
}

bool TModuleDispatch::CloseMessage(std::uint32_t message)
{
    if (message < FirstCloseMessage || message > LastCloseMessage)
        return false;
    TLoadedModule slot = std::exchange(m_modules[message - FirstCloseMessage], TLoadedModule{});
    if (slot.Library != 0)
        UnloadWhenWindowsAreGone(slot.Library, slot.Windows);
    return true;
}

TModuleDispatch::~TModuleDispatch()
{
    for (const TLoadedModule &slot : m_modules) {
        if (slot.Library != 0)
            UnloadWhenWindowsAreGone(slot.Library, slot.Windows);
    }
}

std::array<std::uint32_t, 108> TModuleDispatch::ModuleHandles() const
{
    std::array<std::uint32_t, 108> handles{};
    for (std::size_t i = 0; i < handles.size(); ++i)
        handles[i] = m_modules[i].Library;
    return handles;
}

void TModuleDispatch::ClearModuleHandles()
{
    m_modules.fill(TLoadedModule{});
}

// A module posts its close message from its window's close handler, before the window is
// deleted; the window's own code still runs when its deferred delete comes, possibly from
// an outer event loop after a nested one (a modal box) has handled the message. So the
// library goes only once every window the module opened is destroyed, and then from the
// event loop, once the destructor that announced it has returned. The application object
// carries the wait, so it ends well even when the main window goes first.
void TModuleDispatch::UnloadWhenWindowsAreGone(std::uint32_t library, const QList<QPointer<QObject>> &windows)
{
    QList<QPointer<QObject>> remaining;
    for (const QPointer<QObject> &window : windows) {
        if (window)
            remaining.append(window);
    }
    QObject *application = QCoreApplication::instance();
    if (remaining.isEmpty()) {
        QMetaObject::invokeMethod(
            application, [library] { ModuleLoader::UnloadModule(library); }, Qt::QueuedConnection);
        return;
    }
    auto pending = std::make_shared<qsizetype>(remaining.size());
    for (const QPointer<QObject> &window : std::as_const(remaining)) {
        QObject::connect(window.data(), &QObject::destroyed, application, [library, pending] {
            if (--*pending == 0)
                UnloadWhenWindowsAreGone(library, {});
        });
    }
}

QString TModuleDispatch::WindowName(const QMdiSubWindow *child)
{
    if (!child->objectName().isEmpty() || !child->widget())
        return child->objectName();
    return child->widget()->objectName();
}
