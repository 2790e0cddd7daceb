#pragma once

// Enumerations and the cell address shared by the grid core and its descendants.

#include "grid/tabrixexport.h"

#include <cstdint>

enum TwCellStyle : std::uint8_t { wcsNormal, wcsRaised, wcsSunken, wcsUp, wcsDown };

enum TwObjectValue : std::uint8_t {
    wovAlignment,
    wovColor,
    wovFitStyle,
    wovFont,
    wovLayout,
    wovMarginLeft,
    wovMarginTop,
    wovMarginRight,
    wovMarginBottom,
    wovWordWrap,
};

enum TwSortMark : std::uint8_t { wsmNone, wsmAsc, wsmDesc };

enum TwEditStyle : std::uint8_t {
    wesDefault,
    wesText,
    wesMultiText,
    wesMemo,
    wesCheckBox,
    wesBoolean,
    wesRadioGroup,
    wesNumber,
    wesSpinEdit,
    wesDate,
    wesTime,
    wesPickList,
    wesDataList,
};

enum TwEditKind : std::uint8_t {
    wekNull,
    wekText,
    wekMultiText,
    wekCheckBox,
    wekBoolean,
    wekRadioGroup,
    wekNumber,
    wekSpinEdit,
    wekDate,
    wekTime,
    wekPickList,
    wekDataList,
    wekLookupList,
    wekMemo,
    wekGraphic,
};

enum TwEditBorderStyle : std::uint8_t { webNone, webSingle, webSunken };
enum TwColumnValue : std::uint8_t { wcvAlignment, wcvFont, wcvImeMode, wcvImeName };
enum TwFixedOption : std::uint8_t { wfxColumnColor, wfxEditing, wfxMoving, wfxSelecting, wfxSizing };
enum TwCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TwImeMode : std::uint8_t { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                                imChinese, imSHanguel, imHanguel };

enum TwIndiState : std::uint8_t { windiArrow, windiPrior, windiNext, windiEdit, windiInsert, windiSelect, windiSelArrow,
                                  windiNone };
enum TwMarkerStyle : std::uint8_t { wmsDefault, wmsBoolean, wmsCheckBox, wmsFlatCheckBox };

enum TwGridOption : std::uint8_t {
    wgoAlwaysShowEditor,
    wgoAlwaysShowSelection,
    wgoArrowMove,
    wgoCancelOnExit,
    wgoCellMoving,
    wgoCellSizing,
    wgoColMoving,
    wgoColSizing,
    wgoConfirmDelete,
    wgoDeleting,
    wgoEditing,
    wgoEnterToTab,
    wgoFocusRect,
    wgoInserting,
    wgoLevelSizing,
    wgoMultiSelect,
    wgoNoClickEdit,
    wgoNoScroll,
    wgoNullMark,
    wgoRowSelect,
    wgoRowSizing,
    wgoSkipReadOnly,
};

enum TwGridState : std::uint8_t {
    wgsNormal,
    wgsIndiSizing,
    wgsMarkSizing,
    wgsHeaderSizing,
    wgsFooterSizing,
    wgsRowSizing,
    wgsColSizing,
    wgsCellSizing,
    wgsLevelSizing,
    wgsColMoving,
    wgsCellMoving,
    wgsHeaderTitle,
    wgsFooterTitle,
    wgsColTitle,
    wgsGroupTitle,
    wgsCellTitle,
};

enum TwGridMode : std::uint8_t { wgmBrowse, wgmEdit, wgmInsert };

/// A small set over an enumeration of at most 32 members.
template<typename E>
class TwSet
{
public:
    constexpr TwSet() = default;
    constexpr TwSet(std::initializer_list<E> members)
    {
        for (E member : members)
            m_bits |= Bit(member);
    }
    static constexpr TwSet FromBits(std::uint32_t bits)
    {
        TwSet set;
        set.m_bits = bits;
        return set;
    }
    constexpr bool Has(E member) const { return m_bits & Bit(member); }
    constexpr void Include(E member) { m_bits |= Bit(member); }
    constexpr void Exclude(E member) { m_bits &= ~Bit(member); }
    constexpr std::uint32_t Bits() const { return m_bits; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const TwSet &) const = default;

private:
    static constexpr std::uint32_t Bit(E member) { return 1u << static_cast<unsigned>(member); }
    std::uint32_t m_bits = 0;
};

enum TwFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

using TwObjectValues = TwSet<TwObjectValue>;
using TwColumnValues = TwSet<TwColumnValue>;
using TwFixedOptions = TwSet<TwFixedOption>;
using TwGridOptions = TwSet<TwGridOption>;
using TwFontStyles = TwSet<TwFontStyle>;

/// How Find matches a cell's text: its beginning only, and/or ignoring case.
enum TwFindOption : std::uint8_t { wfoPartialKey, wfoCaseInsensitive };
using TwFindOptions = TwSet<TwFindOption>;

/// A cell address: group, level, index in the level. In a data address the group is the
/// group's collection index, in a visible address its visible position.
struct TwCell
{
    std::int32_t Group = -1;
    std::int32_t Level = -1;
    std::int32_t Index = -1;

    bool operator==(const TwCell &) const = default;
};

inline TwCell WCell(int group, int level, int index)
{
    return TwCell{group, level, index};
}

inline void TXSetCell(TwCell &cell, int group, int level, int index)
{
    cell = TwCell{group, level, index};
}

inline bool TXEqualCells(const TwCell &a, const TwCell &b)
{
    return a == b;
}

inline bool TXValidCell(const TwCell &cell)
{
    return cell.Group >= 0 && cell.Level >= 0 && cell.Index >= 0;
}
