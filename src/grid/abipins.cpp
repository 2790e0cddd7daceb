// The object sizes that separately built business modules have compiled in. Each public
// class of the grid library is its base plus one pointer to its private class, so adding
// state never changes them; a data member added to a public header does, and fails the
// library's build here instead of crashing a workstation that updated one module.

#include "grid/customgrid.h"
#include "grid/memcolumn.h"
#include "grid/tabrix.h"
#include "grid/uxlists.h"

#include <QAbstractScrollArea>

#include <memory>

namespace {

constexpr std::size_t DPtr = sizeof(std::unique_ptr<int>);

static_assert(DPtr == sizeof(void *), "a private pointer is one machine pointer");

// Classes without virtual functions: the private pointer alone.
static_assert(sizeof(TwColumns) == DPtr, "TwColumns: layout changed");
static_assert(sizeof(TwGroups) == DPtr, "TwGroups: layout changed");
static_assert(sizeof(TwGridFooters) == DPtr, "TwGridFooters: layout changed");
static_assert(sizeof(TwMemPool) == DPtr, "TwMemPool: layout changed");
static_assert(sizeof(TwRowInfos) == DPtr, "TwRowInfos: layout changed");

// Parts with published properties: a QObject and the private pointer.
static_assert(sizeof(TwGroup) == sizeof(QObject) + DPtr, "TwGroup: layout changed");
static_assert(sizeof(TwGridHeaders) == sizeof(QObject) + DPtr, "TwGridHeaders: layout changed");
static_assert(sizeof(TwGridFooter) == sizeof(QObject) + DPtr, "TwGridFooter: layout changed");
static_assert(sizeof(TwFixedStyle) == sizeof(QObject) + DPtr, "TwFixedStyle: layout changed");
static_assert(sizeof(TwGridLines) == sizeof(QObject) + DPtr, "TwGridLines: layout changed");
static_assert(sizeof(TwColumn) == sizeof(QObject) + DPtr, "TwColumn: layout changed");
static_assert(sizeof(TwDrawObject) == sizeof(QObject) + DPtr, "TwDrawObject: layout changed");
static_assert(sizeof(TwListoption) == sizeof(QObject) + DPtr, "TwListoption: layout changed");

// Derived classes: their base and one private pointer of their own.
static_assert(sizeof(TwTitle) == sizeof(TwDrawObject) + DPtr, "TwTitle: layout changed");
static_assert(sizeof(TwColumnTitle) == sizeof(TwTitle) + DPtr, "TwColumnTitle: layout changed");
static_assert(sizeof(TwGroupTitle) == sizeof(TwTitle) + DPtr, "TwGroupTitle: layout changed");
static_assert(sizeof(TwHeaderTitle) == sizeof(TwTitle) + DPtr, "TwHeaderTitle: layout changed");
static_assert(sizeof(TwFooterTitle) == sizeof(TwTitle) + DPtr, "TwFooterTitle: layout changed");
static_assert(sizeof(TwColumnFooter) == sizeof(TwDrawObject) + DPtr, "TwColumnFooter: layout changed");
static_assert(sizeof(TwMemColumnFooter) == sizeof(TwColumnFooter) + DPtr, "TwMemColumnFooter: layout changed");
static_assert(sizeof(TwIndicators) == sizeof(TwDrawObject) + DPtr, "TwIndicators: layout changed");
static_assert(sizeof(TwMarkers) == sizeof(TwDrawObject) + DPtr, "TwMarkers: layout changed");
static_assert(sizeof(TwGridLinesEx) == sizeof(TwGridLines) + DPtr, "TwGridLinesEx: layout changed");
static_assert(sizeof(TwItemListOption) == sizeof(TwListoption) + DPtr, "TwItemListOption: layout changed");
static_assert(sizeof(TwColumnListOption) == sizeof(TwItemListOption) + DPtr, "TwColumnListOption: layout changed");
static_assert(sizeof(TwMemColumn) == sizeof(TwColumn) + DPtr, "TwMemColumn: layout changed");
static_assert(sizeof(TwCustomGrid) == sizeof(QAbstractScrollArea) + DPtr, "TwCustomGrid: layout changed");
static_assert(sizeof(TwItemList) == sizeof(QWidget) + DPtr, "TwItemList: layout changed");
// The complete grid also answers the store's questions: one more table pointer.
static_assert(sizeof(TTabrix) == sizeof(TwCustomGrid) + sizeof(void *) + DPtr, "TTabrix: layout changed");

} // namespace
