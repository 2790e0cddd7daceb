#pragma once

// Basic types of the grid library: colours as the components store them, alignments,
// pen styles, and the enumerations that several units share.

#include "grid/tabrixexport.h"

#include <QColor>
#include <QFont>

#include <cstdint>

/// A colour as stored: 0x00BBGGRR, or a system colour 0xFF0000nn (nn = system colour index).
using TColor = std::uint32_t;

/// The largest width or height in pixels a part of the grid takes: larger values are
/// clamped to it, so sums of many sizes stay far from overflowing.
inline constexpr int TwMaxPixels = 32767;

inline constexpr TColor clSystemColor = 0xFF000000u;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clWhite = 0xFFFFFFu;
inline constexpr TColor clSilver = 0xC0C0C0u;
inline constexpr TColor clGray = 0x808080u;
inline constexpr TColor clOlive = 0x008080u;
inline constexpr TColor clWindow = clSystemColor | 5u;
inline constexpr TColor clWindowText = clSystemColor | 8u;
inline constexpr TColor clHighlight = clSystemColor | 13u;
inline constexpr TColor clHighlightText = clSystemColor | 14u;
inline constexpr TColor clBtnFace = clSystemColor | 15u;
inline constexpr TColor clBtnShadow = clSystemColor | 16u;
inline constexpr TColor clBtnHighlight = clSystemColor | 20u;

/// The screen colour of a stored colour; system colours come from the application palette.
TABRIX_EXPORT QColor TXColor(TColor color);
/// 0x00BBGGRR of a screen colour.
TABRIX_EXPORT TColor TXColorOf(const QColor &color);

enum TwAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TwTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
enum TwPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

TABRIX_EXPORT Qt::PenStyle TXQtPenStyle(TwPenStyle style);

/// A font as the components hold it: the face and its colour.
struct TABRIX_EXPORT TwFont
{
    QFont Font;
    TColor Color = clWindowText;

    bool operator==(const TwFont &other) const = default;
};
