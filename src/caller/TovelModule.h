#pragma once

// The contract between the suite and a business module library.
//
// A business program is a shared library named after its five-character program id
// (J900E.so) in the program folder. The main program loads it when the user chooses the
// program and keeps it loaded until the module posts its close message; the caller
// library loads it for one call on behalf of another module and unloads it right after.
// Compile a module against this header and link it with libZULCaller.so.
//
// What the objects of the contract are here:
//   the application object  the process's QApplication;
//   the screen object       the main window's QMdiArea: the module shows its window as a
//                           child window of it (QMdiArea::addSubWindow). The main window
//                           knows an open program's window by the child window's object
//                           name (or, when that is empty, its content widget's): give it a
//                           name of its own, such as "frm" and the program id;
//   the connection object   the caller library's QSqlDatabase. Copies share the one
//                           connection; a module never closes or removes it. Before a
//                           save it calls Platform::ReviveConnection (platform/dbhealth.h),
//                           which opens a session the server ended again, for every copy.
//
// One entry name, two argument lists. The main program calls SHOW_<id> with the
// application, the screen, the connection and the argument record; ZUL_CALL_SHOW calls
// SHOW_J900E and SHOW_SA30E with the connection and the user alone. A C symbol has one
// signature, so SHOW_<id> is not a function but a described table of the forms the
// module was built for (TModuleShowEntry, declared with TOVEL_MODULE_SHOW). A caller
// takes the form it calls from the table; a library whose table lacks that form, or
// whose table was built for another version of this contract, is treated as a library
// without the entry: nothing is called. No module is ever called with an argument list
// it was not compiled for.
//
// The forms, their life cycles and text ownership:
//   ShowInFrame  (main program) shows the module's window inside the screen object and
//                returns at once. The record is the module's argument record: the
//                128-byte TModuleArgs head, then the module's zero-filled tail, `size`
//                bytes in all; it is the caller's copy, valid during the call only, so a
//                module keeps what it needs by copying. When the window closes the module
//                posts the record's CloseMsg to its MainWnd with ZUL_POST_MESSAGE; the
//                main program unloads the library once the child windows the call
//                opened are destroyed; any other object of the module must be gone by
//                the time the message is posted.
//   ShowForUser  (ZUL_CALL_SHOW) shows the module's window modally and returns when it
//                has closed: the library is unloaded right after the call.
//   MODAL_J380P  (ZUL_CALL_SHOW) a plain function taking the connection and a 190-byte
//                record by value; modal, as ShowForUser.
//   CallForm     (CallDLL, J900E only) a plain function taking a zero-terminated CP949
//                parameter text and an integer and returning a zero-terminated CP949
//                text that the module owns and keeps valid until its next call or its
//                unloading; the caller copies it at once. A null result reads as "".

#include "common/records.h"

#include <cstdint>

class QApplication;
class QMdiArea;
class QSqlDatabase;

/// The version of this contract that a module's table was built for.
inline constexpr std::uint32_t TovelModuleContractVersion = 1;

using TShowInFrame = void (*)(QApplication *application, QMdiArea *screen, QSqlDatabase *connection,
                              const TModuleArgs *record, std::uint32_t size);
using TShowForUser = void (*)(QSqlDatabase *connection, TLoginInfo loginInfo);

/// What a module exports under the name SHOW_<id>.
struct TModuleShowEntry
{
    std::uint32_t Size;    ///< sizeof(TModuleShowEntry) of the module's build
    std::uint32_t Version; ///< TovelModuleContractVersion of the module's build
    TShowInFrame ShowInFrame; ///< null when the main program cannot open the module
    TShowForUser ShowForUser; ///< null when ZUL_CALL_SHOW cannot open the module
};

/// The 190-byte record of MODAL_J380P: the caller's extra record, or the user record
/// followed by zeros.
#pragma pack(push, 1)
struct TJ380PRecord
{
    unsigned char Bytes[190];
};
#pragma pack(pop)
static_assert(sizeof(TJ380PRecord) == 190);

using TModalJ380P = void (*)(QSqlDatabase *connection, TJ380PRecord record);
using TCallForm = const char *(*)(const char *parameter, std::int32_t value);

#define TOVEL_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

/// Declares a module's SHOW_<id> table; either function may be nullptr:
///   TOVEL_MODULE_SHOW(J900E, ShowInFrame, ShowForUser);
#define TOVEL_MODULE_SHOW(id, inFrame, forUser) TOVEL_MODULE_SHOW_TABLE(id, inFrame, forUser)
#define TOVEL_MODULE_SHOW_TABLE(id, inFrame, forUser)                                                          \
    TOVEL_MODULE_EXPORT const TModuleShowEntry SHOW_##id;                                                      \
    const TModuleShowEntry SHOW_##id = {sizeof(TModuleShowEntry), TovelModuleContractVersion, inFrame, forUser}

// Exports of libZULCaller.so for modules.
#if defined(ZULCALLER_LIBRARY)
#define ZULCALLER_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define ZULCALLER_EXPORT extern "C"
#endif

/// Posts message number `message` to the window `window` names (a MainWnd field); false
/// when that window is gone.
ZULCALLER_EXPORT bool ZUL_POST_MESSAGE(std::uint32_t window, std::uint32_t message);

/// Opens another program for the user: "J900E" and "SA30E" through their ShowForUser
/// form, "J380P" through MODAL_J380P with the 190 bytes at `extra` (or, when `extra` is
/// null, the user record followed by zeros); any other id opens nothing. The id is taken
/// in any case. The module is unloaded when the call returns.
ZULCALLER_EXPORT void ZUL_CALL_SHOW(const char *progId, TLoginInfo loginInfo, const void *extra);

/// For "J900E" (any case): calls CallForm of the file J900E.so in the current folder and
/// returns a copy of its answer; another id returns "PBL". A missing or unloadable file
/// returns the reason as text. The text belongs to the library and stays valid until the
/// next CallDLL or ZUL_CALL_SHOW.
ZULCALLER_EXPORT const char *CallDLL(const char *progId, const char *parameter, std::int32_t value);
