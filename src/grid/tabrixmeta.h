#pragma once

// The grid library's option sets and enumerations as registered Qt flags and enums, so
// Designer's property editor offers them as check lists and choices, writes them into the
// .ui file, and uic and QUiLoader read them back. The keys are the published names; each
// value equals the published member it stands for, and an option flag is that option's bit
// in TwGridOptions, so converting is a cast.

#include "grid/gridenums.h"
#include "grid/uxtypes.h"

#include <QObject>

namespace Tw {
Q_NAMESPACE_EXPORT(TABRIX_EXPORT)

enum GridOption : unsigned {
    wgoNone = 0, // no option: how a form says every option is off
    wgoAlwaysShowEditor = 1u << ::wgoAlwaysShowEditor,
    wgoAlwaysShowSelection = 1u << ::wgoAlwaysShowSelection,
    wgoArrowMove = 1u << ::wgoArrowMove,
    wgoCancelOnExit = 1u << ::wgoCancelOnExit,
    wgoCellMoving = 1u << ::wgoCellMoving,
    wgoCellSizing = 1u << ::wgoCellSizing,
    wgoColMoving = 1u << ::wgoColMoving,
    wgoColSizing = 1u << ::wgoColSizing,
    wgoConfirmDelete = 1u << ::wgoConfirmDelete,
    wgoDeleting = 1u << ::wgoDeleting,
    wgoEditing = 1u << ::wgoEditing,
    wgoEnterToTab = 1u << ::wgoEnterToTab,
    wgoFocusRect = 1u << ::wgoFocusRect,
    wgoInserting = 1u << ::wgoInserting,
    wgoLevelSizing = 1u << ::wgoLevelSizing,
    wgoMultiSelect = 1u << ::wgoMultiSelect,
    wgoNoClickEdit = 1u << ::wgoNoClickEdit,
    wgoNoScroll = 1u << ::wgoNoScroll,
    wgoNullMark = 1u << ::wgoNullMark,
    wgoRowSelect = 1u << ::wgoRowSelect,
    wgoRowSizing = 1u << ::wgoRowSizing,
    wgoSkipReadOnly = 1u << ::wgoSkipReadOnly,
};
// A new option needs its flag above: the last one must stay the last published.
static_assert(::wgoSkipReadOnly == 21, "every grid option has its flag");
Q_DECLARE_FLAGS(GridOptions, GridOption)
Q_FLAG_NS(GridOptions)

enum ImeMode : int {
    imDisable = ::imDisable,
    imClose = ::imClose,
    imOpen = ::imOpen,
    imDontCare = ::imDontCare,
    imSAlpha = ::imSAlpha,
    imAlpha = ::imAlpha,
    imHira = ::imHira,
    imSKata = ::imSKata,
    imKata = ::imKata,
    imChinese = ::imChinese,
    imSHanguel = ::imSHanguel,
    imHanguel = ::imHanguel,
};
static_assert(::imHanguel == 11, "every input method mode has its key");
Q_ENUM_NS(ImeMode)

enum Alignment : int { taLeftJustify = ::taLeftJustify, taRightJustify = ::taRightJustify, taCenter = ::taCenter };
Q_ENUM_NS(Alignment)

enum TextLayout : int { tlTop = ::tlTop, tlCenter = ::tlCenter, tlBottom = ::tlBottom };
Q_ENUM_NS(TextLayout)

// The edits' own enumerations; their headers check these values against the published ones.
enum BorderStyle : int { bsNone = 0, bsSingle = 1 };
Q_ENUM_NS(BorderStyle)

enum DateTimeKind : int { dtkDate = 0, dtkTime = 1 };
Q_ENUM_NS(DateTimeKind)

enum DateMode : int { dmComboBox = 0, dmUpDown = 1 };
Q_ENUM_NS(DateMode)

inline GridOptions ToFlags(TwGridOptions options)
{
    return GridOptions::fromInt(options.Bits());
}
inline TwGridOptions FromFlags(GridOptions flags)
{
    return TwGridOptions::FromBits(flags.toInt() & ((1u << (::wgoSkipReadOnly + 1)) - 1));
}

} // namespace Tw

Q_DECLARE_OPERATORS_FOR_FLAGS(Tw::GridOptions)
