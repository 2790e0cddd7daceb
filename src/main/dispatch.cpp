#include "main/dispatch.h"

#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "common/moduleloader.h"
#include "main/knownprograms.h"
#include "platform/handles.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSqlDatabase>

#include <algorithm>
#include <cstddef>
#include <cstring>

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
        if (child->objectName() != entry->FormName)
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
                entry->ShowInFrame(qobject_cast<QApplication *>(QCoreApplication::instance()), m_screen, &connection,
                                   reinterpret_cast<const TModuleArgs *>(bytes.constData()),
                                   static_cast<std::uint32_t>(bytes.size()));
            } else {
                // Nothing was called, so nothing will ever ask for the library to go.
                ModuleLoader::UnloadModule(library);
                library = 0;
            }
        }
    }
    if (position >= 0)
        m_moduleHandles[static_cast<std::size_t>(position)] = library;
}

void TModuleDispatch::RecordOpenWindows(const QString &progId)
{
    const QList<QMdiSubWindow *> children = m_screen->subWindowList();
    if (children.isEmpty())
        return;
    m_openForms.append(TMenuLinkForm{});
    for (auto child = children.crbegin(); child != children.crend(); ++child) {
        const QString name = (*child)->objectName();
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
    std::uint32_t &slot = m_moduleHandles[message - FirstCloseMessage];
    ModuleLoader::UnloadModule(slot);
    slot = 0;
    return true;
}
