#pragma once

// The grid library's edits as published controls. The properties every edit publishes
// (alignment, layout, margins, colour, 3D look, read-only, tab stop, auto-select, maximum
// length) are declared once by the base edit.

#include "grid/uxedits.h"
#include "grid/uxnedit.h"
#include "gridex/tabrixexexport.h"

class TABRIXEX_EXPORT TwEdit : public TwCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(int Height READ height WRITE SetHeight)

public:
    explicit TwEdit(QWidget *parent = nullptr);

    void SetHeight(int value);

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setHeight(int value) { SetHeight(value); }
};

class TABRIXEX_EXPORT TwMaskEdit : public TwCustomMaskEdit
{
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)

public:
    explicit TwMaskEdit(QWidget *parent = nullptr);

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setEditMask(const QString &value) { SetEditMask(value); }
};

/// The number edit as a published control: its number properties (`EnableNull`,
/// `MaxValue`, `MinValue`, `Precision`, `ReadOnly`, `Spinner`, `Spinner3D`, `ThousandSep`,
/// `Value`, `OnSpinClick`) are properties of the grid library's number edit already.
class TABRIXEX_EXPORT TwNumEdit : public TwCustomNumEdit
{
    Q_OBJECT

public:
    explicit TwNumEdit(QWidget *parent = nullptr);
};
