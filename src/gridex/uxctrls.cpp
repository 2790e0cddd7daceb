#include "gridex/uxctrls.h"

TwEdit::TwEdit(QWidget *parent)
    : TwCustomEdit(parent)
{
}

void TwEdit::SetHeight(int value) { resize(width(), value); }

TwMaskEdit::TwMaskEdit(QWidget *parent)
    : TwCustomMaskEdit(parent)
{
}

TwNumEdit::TwNumEdit(QWidget *parent)
    : TwCustomNumEdit(parent)
{
}
