// TwCombo: the Items and Values lists, the value index and the value access.

#include "gridex/uxcombos.h"

#include "grid/uxlocale.h"
#include "grid/uxutils.h"
#include "gridex/uxcombos_p.h"

#include <QKeyEvent>

TwCombo::TwCombo(QWidget *parent)
    : TwCustomCombo(parent)
    , d(std::make_unique<TwComboPrivate>())
{
}

TwCombo::~TwCombo() = default;

QStringList TwCombo::Items() const { return d->m_items; }

void TwCombo::SetItems(const QStringList &value)
{
    if (value == d->m_items)
        return;
    d->m_items = value;
    ListsChanged();
}

QStringList TwCombo::Values() const { return d->m_values; }

void TwCombo::SetValues(const QStringList &value)
{
    if (value == d->m_values)
        return;
    d->m_values = value;
    ListsChanged();
}

const TwImageList *TwCombo::Images() const { return d->m_images; }

void TwCombo::SetImages(const TwImageList *value) { d->m_images = value; }

int TwCombo::ImageIndexOf(int row)
{
    int index = row;
    emit OnGetImageIndex(row, index);
    return index;
}

bool TwCombo::Editable() const { return Style() != wcsDropDownList || !d->m_values.isEmpty(); }

// --- the value index -------------------------------------------------------------------------

int TwCombo::ValueIndex() const { return d->m_valueIndex; }

void TwCombo::SetValueIndex(int index)
{
    if (DroppedDown() || Designing())
        return;
    const int row = IMax(-1, IMin(index, static_cast<int>(d->m_values.size()) - 1));
    // In items mode the text is the row's first item field, unless the value itself is the
    // list's first column.
    const bool itemsMode = d->m_items.size() >= d->m_values.size();
    if (row < 0)
        setText(QString());
    else if (itemsMode && ListOption()->ValuesIndex() != 0)
        setText(TXGetTocken(d->m_items.at(row), ListOption()->Separator(), 0));
    else
        setText(d->m_values.at(row));
    if (row == d->m_valueIndex)
        return;
    d->m_valueIndex = row;
    emit OnValueChange();
}

void TwCombo::ListsChanged()
{
    if (Style() == wcsDropDownList || d->m_valueIndex >= 0)
        SetValueIndex(d->m_valueIndex);
}

void TwCombo::ListOptionChanged() { ListsChanged(); }

// --- value access ----------------------------------------------------------------------------

QString TwCombo::GetString() const
{
    // Values replaced under an open list are re-limited only when it closes: till then an
    // index past them stands for no value.
    if (d->m_valueIndex >= 0 && d->m_valueIndex < d->m_values.size())
        return d->m_values.at(d->m_valueIndex);
    return Style() == wcsDropDownList ? QString() : text();
}

void TwCombo::SetString(const QString &value)
{
    const int row = static_cast<int>(d->m_values.indexOf(value));
    if (row >= 0) {
        SetValueIndex(row);
        return;
    }
    if (Style() == wcsDropDownList)
        return;
    // A free text: the selection goes, and the text shown is the caller's, not an edit.
    if (d->m_valueIndex >= 0 && !DroppedDown()) {
        d->m_valueIndex = -1;
        emit OnValueChange();
    }
    SetTextSilently(value);
}

qint64 TwCombo::GetInteger() const
{
    const QString text = GetString();
    return text.isEmpty() ? 0 : TXTextToInt(text);
}

void TwCombo::SetInteger(qint64 value) { SetString(QString::number(value)); }

double TwCombo::GetFloat() const
{
    const QString text = GetString();
    return text.isEmpty() ? 0.0 : TXTextToFloat(text);
}

void TwCombo::SetFloat(double value) { SetString(TXFloatToText(value)); }

QVariant TwCombo::GetVariant() const { return IsNull() ? QVariant() : QVariant(GetFloat()); }

void TwCombo::SetVariant(const QVariant &value)
{
    if (value.isNull()) {
        Clear();
        return;
    }
    SetFloat(value.toDouble());
}

bool TwCombo::IsNull() const { return d->m_valueIndex < 0 && (Style() == wcsDropDownList || text().isEmpty()); }

void TwCombo::Clear() { SetValueIndex(-1); }

// --- drop down and close up ------------------------------------------------------------------

void TwCombo::DropDown(bool capture)
{
    if (!BeginDropDown())
        return;
    TwItemList *list = List();
    list->SetOptions(ListOption(), d->m_items, d->m_values, d->m_images, ListOption()->Ctl3D());
    list->SetItemIndex(d->m_valueIndex);
    ShowList(capture);
}

void TwCombo::CloseUp(bool accept)
{
    if (!HideList())
        return;
    if (!accept) {
        if (Style() == wcsDropDownList)
            SetValueIndex(d->m_valueIndex);
        else
            setText(DropDownText());
    } else if (!d->m_values.isEmpty()) {
        const int row = List()->ItemIndex();
        if (row >= 0) {
            // A list with more items than values has rows without a value: such a row
            // selects nothing rather than the last value.
            SetValueIndex(row < d->m_values.size() ? row : -1);
        } else if (text().isEmpty() && EnableNull()) {
            SetValueIndex(-1);
        } else if (Style() == wcsDropDownList) {
            SetValueIndex(d->m_valueIndex);
        } else if (d->m_valueIndex >= 0) {
            d->m_valueIndex = -1; // the typed text stays, without a value event
        }
    }
    // The values may have shrunk while the list was open: the index is limited again.
    if (d->m_valueIndex >= d->m_values.size())
        SetValueIndex(d->m_valueIndex);
    emit OnCloseUp(accept);
}

// --- keys and focus --------------------------------------------------------------------------

void TwCombo::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain || d->m_values.isEmpty() || DroppedDown()) {
        TwCustomCombo::keyPressEvent(event);
        return;
    }
    const int page = ListOption()->ItemCount();
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetValueIndex(IMax(0, d->m_valueIndex - page));
        break;
    case Qt::Key_PageDown:
        SetValueIndex(d->m_valueIndex + page);
        break;
    case Qt::Key_Up:
        SetValueIndex(IMax(0, d->m_valueIndex - 1));
        break;
    case Qt::Key_Down:
        SetValueIndex(d->m_valueIndex + 1);
        break;
    default:
        TwCustomCombo::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TwCombo::LeaveControl()
{
    if (Style() == wcsDropDownList)
        SetValueIndex(d->m_valueIndex);
}
