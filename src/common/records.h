#pragma once

// Fixed-layout records that cross the boundaries between the programs, the caller
// library and the business modules. Text fields hold CP949 bytes, zero-filled, each
// one byte wider than the longest text it takes. This header needs nothing but the C++
// standard library, so a business module compiles against it as it stands.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

/// The user identity record (75 bytes).
struct TLoginInfo
{
    char UserId[9];
    char Password[7];
    char UserNm[11];
    char UserSect[3];
    char UserPlace[3];
    char UserSectNm[21];
    char UserPlaceNm[21];
};

/// One of the user's permitted programs (46 bytes).
struct TMenuInfo
{
    char SysId[3];
    char ProgId[6];
    char DsProg[2];
    char RankProg[2];
    char ProgName[33];
};

/// Result of the menu query (257 bytes).
struct TMenuResult
{
    char Code;
    char Msg[256];
};

/// The common head of every module argument record (128 bytes).
struct TModuleArgs
{
    TLoginInfo LoginInfo;
    char Reserved1;
    char ProgId[6];
    char ProgName[33];
    char Reserved2;
    std::uint32_t MainWnd;
    std::uint32_t ModuleHandle;
    std::uint32_t CloseMsg;
};

#pragma pack(pop)

static_assert(sizeof(TLoginInfo) == 75);
static_assert(offsetof(TLoginInfo, UserId) == 0);
static_assert(offsetof(TLoginInfo, Password) == 9);
static_assert(offsetof(TLoginInfo, UserNm) == 16);
static_assert(offsetof(TLoginInfo, UserSect) == 27);
static_assert(offsetof(TLoginInfo, UserPlace) == 30);
static_assert(offsetof(TLoginInfo, UserSectNm) == 33);
static_assert(offsetof(TLoginInfo, UserPlaceNm) == 54);

static_assert(sizeof(TMenuInfo) == 46);
static_assert(offsetof(TMenuInfo, ProgId) == 3);
static_assert(offsetof(TMenuInfo, DsProg) == 9);
static_assert(offsetof(TMenuInfo, RankProg) == 11);
static_assert(offsetof(TMenuInfo, ProgName) == 13);

static_assert(sizeof(TMenuResult) == 257);
static_assert(offsetof(TMenuResult, Msg) == 1);

static_assert(sizeof(TModuleArgs) == 128);
static_assert(offsetof(TModuleArgs, ProgId) == 76);
static_assert(offsetof(TModuleArgs, ProgName) == 82);
static_assert(offsetof(TModuleArgs, MainWnd) == 116);
static_assert(offsetof(TModuleArgs, ModuleHandle) == 120);
static_assert(offsetof(TModuleArgs, CloseMsg) == 124);

/// The argument record of SA27E and J290P (136 bytes): the common head, then two text
/// slots that the main program passes empty (zero).
#pragma pack(push, 1)
struct TAGMT_SA27E
{
    TModuleArgs Args;
    std::uint32_t Text1;
    std::uint32_t Text2;
};
#pragma pack(pop)

static_assert(sizeof(TAGMT_SA27E) == 136);
static_assert(offsetof(TAGMT_SA27E, Text1) == 128);
static_assert(offsetof(TAGMT_SA27E, Text2) == 132);
