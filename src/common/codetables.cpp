#include "common/codetables.h"

namespace CodeTables {

const QList<TSCodeData> &AllCode()
{
    static const QList<TSCodeData> table{{QStringLiteral("*"), QStringLiteral("전체")}};
    return table;
}

const QList<TSCodeData> &HoldKindCodes()
{
    static const QList<TSCodeData> table{
        {QStringLiteral("1"), QStringLiteral("보류")},
        {QStringLiteral("2"), QStringLiteral("유치")},
        {QStringLiteral("3"), QStringLiteral("회송")},
    };
    return table;
}

const QList<TSCodeData> &SaleKindCodes()
{
    static const QList<TSCodeData> table{
        {QStringLiteral("1"), QStringLiteral("경매")},
        {QStringLiteral("2"), QStringLiteral("수의매")},
    };
    return table;
}

const QList<TSCodeData> &PayKindCodes()
{
    static const QList<TSCodeData> table{
        {QStringLiteral("1"), QStringLiteral("펌뱅킹")},
        {QStringLiteral("2"), QStringLiteral("PC뱅킹")},
        {QStringLiteral("3"), QStringLiteral("현금")},
        {QStringLiteral("4"), QStringLiteral("온라인송금")},
        {QStringLiteral("5"), QStringLiteral("경리과보류")},
        {QStringLiteral("6"), QStringLiteral("대체")},
    };
    return table;
}

} // namespace CodeTables
