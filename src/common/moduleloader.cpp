#include "common/moduleloader.h"

#include "caller/TovelModule.h"
#include "platform/handles.h"
#include "platform/messagebox.h"
#include "platform/programfolder.h"

#include <QFileInfo>

namespace ModuleLoader {

QString ModulePath(const QString &folder, const QString &module)
{
    return Platform::WithTrailingSlash(folder) + module + QLatin1String(Platform::LibrarySuffix);
}

std::uint32_t LoadModule(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        Platform::ShowMessageBox(Platform::ApplicationWindow(),
                                 QStringLiteral("File Not Found.\n\nFile Name: ") + path,
                                 Platform::ApplicationTitle(), Platform::TMsgIcon::Error);
        return 0;
    }
    const std::uint32_t library = Platform::LoadLibraryFile(path);
    if (library == 0)
        Platform::ShowMessageBox(Platform::ApplicationWindow(), QStringLiteral("load library error!"),
                                 Platform::ApplicationTitle(), Platform::TMsgIcon::Error);
    return library;
}

const TModuleShowEntry *ShowEntry(std::uint32_t library, const QString &module)
{
    const QByteArray name = "SHOW_" + module.toLatin1();
    const auto *entry = static_cast<const TModuleShowEntry *>(Platform::LibrarySymbol(library, name.constData()));
    if (!entry || entry->Size != sizeof(TModuleShowEntry) || entry->Version != TovelModuleContractVersion)
        return nullptr;
    return entry;
}

void UnloadModule(std::uint32_t library)
{
    if (library != 0)
        Platform::FreeLibraryHandle(library);
}

} // namespace ModuleLoader
