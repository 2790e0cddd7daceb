#pragma once

#include "common/utypes.h"

#include <QList>

// Constant code tables held for the business modules.
namespace CodeTables {

const QList<TSCodeData> &AllCode();
const QList<TSCodeData> &HoldKindCodes();
const QList<TSCodeData> &SaleKindCodes();
const QList<TSCodeData> &PayKindCodes();

} // namespace CodeTables
