#pragma once

#include "common/records.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>

class QMdiArea;
class QMdiSubWindow;
class QSqlDatabase;
class QWidget;

/// The chosen program, held next to the user record; it becomes bytes 76 to 127 of the
/// module's argument record (52 bytes).
#pragma pack(push, 1)
struct TProgramArea
{
    char ProgId[6];
    char ProgName[33];
    char Reserved[13];
};
#pragma pack(pop)
static_assert(sizeof(TProgramArea) == 52);

/// A child window that a program choice left open, by the program that opened it.
struct TMenuLinkForm
{
    QString ProgId;
    QString FormName;
};

/// What opens a module for a program id: the module's own name and the size of its
/// argument record. A program without a module has an empty name.
struct TModuleOfProgram
{
    QString Module;
    int RecordSize = 0;
};
TModuleOfProgram ModuleOfProgram(const QString &progId);

/// The first close message: a module at position p of KnownPrograms posts 1025 + p.
inline constexpr std::uint32_t FirstCloseMessage = 1025;
inline constexpr std::uint32_t LastCloseMessage = FirstCloseMessage + 107;

/// Loads program modules into the main window's child-window area and keeps each until
/// its module reports, with its close message, that its window has closed.
class TModuleDispatch
{
public:
    TModuleDispatch(QWidget *mainWindow, QMdiArea *screen);
    /// Close messages posted to a main window that is going are never handled: modules
    /// still loaded leave once their windows are gone, as their close messages would have
    /// had them leave.
    ~TModuleDispatch();
    TModuleDispatch(const TModuleDispatch &) = delete;
    TModuleDispatch &operator=(const TModuleDispatch &) = delete;

    /// Brings the child window of an earlier choice of `progId` forward; false when there
    /// is none (no entry in OpenForms names an open child window).
    bool ShowOpenWindow(const QString &progId);

    /// Loads the module of the program in `area` and calls it for `user`. Gets the
    /// connection from the caller library first when `connection` is not valid.
    void Dispatch(const TLoginInfo &user, const TProgramArea &area, QSqlDatabase &connection);

    /// Records the child windows opened by the choice of `progId` in OpenForms.
    void RecordOpenWindows(const QString &progId);

    /// A close message: unloads the module of its position. False for other numbers.
    bool CloseMessage(std::uint32_t message);

    /// Forgets every child window (after all of them were closed).
    void ClearOpenForms() { m_openForms.clear(); }

    const QList<TMenuLinkForm> &OpenForms() const { return m_openForms; }
    /// ModuleHandles: the library of each position of KnownPrograms, 0 when none.
    std::array<std::uint32_t, 108> ModuleHandles() const;
    void ClearModuleHandles();

    /// The name OpenForms knows a child window by: its own, or its content's when it has
    /// none (a module that handed the area a plain widget).
    static QString WindowName(const QMdiSubWindow *child);

private:
    struct TLoadedModule
    {
        std::uint32_t Library = 0;
        QList<QPointer<QObject>> Windows; ///< the child windows its show call opened
    };

    static void UnloadWhenWindowsAreGone(std::uint32_t library, const QList<QPointer<QObject>> &windows);

    QWidget *m_mainWindow;
    QMdiArea *m_screen;
    QList<TMenuLinkForm> m_openForms;
    std::array<TLoadedModule, 108> m_modules{};
};
