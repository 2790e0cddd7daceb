#pragma once

// The records of the shared units: the fixed layouts of common/records.h, and the
// in-process records of the login check and the favourites dialog.

#include "common/records.h"

#include <QList>
#include <QString>

#include <vector>

class QTreeWidgetItem;

/// The user's permitted programs. The caller library sizes it and the main program reads
/// and releases it; both are linked against the same shared C++ runtime (libstdc++), so
/// the elements come from and return to one allocator, the runtime's operator new/delete.
using TMenuInfos = std::vector<TMenuInfo>;

/// Result of the login check inside the caller library.
struct TResultVal
{
    std::int32_t Success = 0;
    std::int32_t Code = 0;
    QString Msg;

    void Clear()
    {
        Success = 0;
        Code = 0;
        Msg.clear();
    }
};

// Records of the favourites dialog.

struct TSCodeData
{
    QString Code;
    QString Name;
};

struct TMyGrpInfo
{
    QString GrpId;
    QString GrpName;
};

struct TUserMenuPart
{
    TMyGrpInfo Group;
    QTreeWidgetItem *GroupNode = nullptr;
};
using TUserMenuParts = QList<TUserMenuPart>;

struct TStrMenuInfo
{
    QString GrpId;
    QString ProgId;
    QString Spare1;
    QString Spare2;
    QString ProgName;
};

struct TUserMenu
{
    TStrMenuInfo MenuInfo;
    QChar Favourite = QLatin1Char('0');
    QString Spare;
    QTreeWidgetItem *GroupNode = nullptr;
    QTreeWidgetItem *ProgramNode = nullptr;
};
using TUserMenus = QList<TUserMenu>;
