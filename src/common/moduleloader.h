#pragma once

#include <QString>

#include <cstdint>

struct TModuleShowEntry;

// Finding and loading business module libraries, shared by the main program and the
// caller library. A library is named by a 32-bit number from the platform's handle
// registry (Platform::LibrarySymbol, Platform::FreeLibraryHandle).
namespace ModuleLoader {

/// The file of `module` in `folder`: the id followed by the platform's library suffix.
QString ModulePath(const QString &folder, const QString &module);

/// Loads the library at `path`. A missing file shows "File Not Found." with the path, a
/// file that does not load shows "load library error!"; both answer 0.
std::uint32_t LoadModule(const QString &path);

/// The SHOW_<module> table of a loaded library, or null when the library exports none
/// or one built for another version of the module contract.
const TModuleShowEntry *ShowEntry(std::uint32_t library, const QString &module);

/// Unloads a library (0 names none). The caller makes sure that no object of the module
/// is left to run its code.
void UnloadModule(std::uint32_t library);

} // namespace ModuleLoader
