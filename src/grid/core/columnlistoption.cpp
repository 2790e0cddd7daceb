// The list settings of a column's list editors: the item-list settings, with the column's
// font as their default and the column repainted on every change.

#include "grid/drawobjects.h"
#include "grid/core/drawobjects_p.h"

#include "grid/columns.h"
#include "grid/support/notify_p.h"

TwColumnListOption::TwColumnListOption(TwColumn *column)
    : d(std::make_unique<TwColumnListOptionPrivate>())
{
    d->m_column = column;
}

TwColumnListOption::~TwColumnListOption() = default;

void TwColumnListOption::Assign(const TwListoption &source)
{
    TwItemListOption::Assign(source);
    const auto *column = qobject_cast<const TwColumnListOption *>(&source);
    if (!column)
        return;
    SetImages(column->Images());
    SetValuesOnly(column->ValuesOnly());
}

TwFont TwColumnListOption::DefaultFont() const
{
    return d->m_column ? d->m_column->Font() : TwFont();
}

TwFont TwColumnListOption::DefaultTitleFont() const
{
    return DefaultFont();
}

void TwColumnListOption::Changed()
{
    if (d->m_column)
        d->m_column->Changed();
}

const TwImageList *TwColumnListOption::Images() const
{
    return d->m_images;
}

void TwColumnListOption::SetImages(const TwImageList *images)
{
    d->m_images = images;
}

bool TwColumnListOption::ValuesOnly() const
{
    return d->m_valuesOnly;
}

void TwColumnListOption::SetValuesOnly(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ValuesOnly(); }, [this] { emit ValuesOnlyChanged(ValuesOnly()); });
    if (d->m_valuesOnly == value)
        return;
    d->m_valuesOnly = value;
    Changed();
}
