#pragma once

// The grid library's edits as published controls.

#include "grid/uxedits.h"
#include "grid/uxnedit.h"
#include "gridex/tabrixexexport.h"

class TABRIXEX_EXPORT TwEdit : public TwCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)

public:
    explicit TwEdit(QWidget *parent = nullptr);

    void SetHeight(int value);
};

class TABRIXEX_EXPORT TwMaskEdit : public TwCustomMaskEdit
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)

public:
    explicit TwMaskEdit(QWidget *parent = nullptr);

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
