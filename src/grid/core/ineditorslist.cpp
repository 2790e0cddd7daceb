// The list editors: a text editor with a drop-down button and the item list under it, and
// the pick list that chooses one of its column's values.

#include "grid/core/ineditors_p.h"

#include "grid/customgrid.h"
#include "grid/drawobjects.h"
#include "grid/uxgraphics.h"
#include "grid/uxutils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {

bool IsToggleKey(const QKeyEvent *event)
{
    return (event->modifiers() & Qt::AltModifier) && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down);
}

bool IsEnterOrEscape(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

// TwInComboList

TwInComboList::TwInComboList(TwInCombo *combo)
    : TwItemList(combo)
    , m_combo(combo)
{
    hide();
}

void TwInComboList::CloseUp(bool accept)
{
    m_combo->CloseUp(accept);
}

// TwInCombo

TwInCombo::TwInCombo(TwCustomGrid *grid)
    : TwInEdit(grid)
{
}

QRect TwInCombo::GetCustomRect() const
{
    const int width = TXButtonWidth();
    const QRect client = rect();
    return QRect(client.right() + 1 - width, client.top(), width, client.height());
}

void TwInCombo::DrawCustom(QPainter *canvas, const QRect &rect)
{
    TXDrawComboButton(canvas, rect, isEnabled(), false, m_droppedDown);
}

void TwInCombo::DropDown()
{
    if (m_droppedDown || !m_list)
        return;
    m_dropDownText = text();
    const QPoint below = mapToGlobal(QPoint(0, height()));
    QPoint at = below;
    const QScreen *screen = this->screen();
    if (screen && below.y() + m_list->height() > screen->geometry().bottom() + 1)
        at = mapToGlobal(QPoint(0, -m_list->height()));
    m_list->move(at);
    m_droppedDown = true;
    m_list->show();
    InvalidateCustom();
    ListDroppedDown();
}

void TwInCombo::CloseList()
{
    m_droppedDown = false;
    if (m_list)
        m_list->hide();
    InvalidateCustom();
}

void TwInCombo::CloseUp(bool accept)
{
    if (!m_droppedDown)
        return;
    CloseList();
    if (!accept)
        setText(m_dropDownText);
    ListClosedUp(accept);
}

void TwInCombo::HideEditor()
{
    if (m_droppedDown)
        CloseUp(false);
    TwInEdit::HideEditor();
}

void TwInCombo::LeavingText()
{
    if (m_droppedDown)
        CloseUp(false);
}

bool TwInCombo::ListKey(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (m_droppedDown && !alt && IsEnterOrEscape(event->key())) {
        CloseUp(event->key() != Qt::Key_Escape);
        return true;
    }
    if (IsToggleKey(event)) {
        if (m_droppedDown)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (m_droppedDown && m_list && TwItemList::KeepsKey(event)) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(m_list, &copy);
        return true;
    }
    return false;
}

void TwInCombo::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && GetCustomRect().contains(event->position().toPoint())) {
        if (m_droppedDown)
            CloseUp(false);
        else
            DropDown();
        return;
    }
    TwInEdit::mousePressEvent(event);
}

// TwInPickList

TwInPickList::TwInPickList(TwCustomGrid *grid)
    : TwInCombo(grid)
{
    m_list = new TwInComboList(this);
    connect(this, &QLineEdit::textEdited, this, [this] { TypedText(); });
}

QString TwInPickList::ShownText(int index) const
{
    const TwColumn *column = Column();
    if (!column || index < 0 || index >= column->Values().size())
        return {};
    const TwColumnListOption &option = column->ListOption();
    if (column->ItemsMode() && option.ValuesIndex() != 0 && index < column->Items().size())
        return column->Items().at(index).section(option.Separator(), 0, 0);
    return column->Values().at(index);
}

QVariant TwInPickList::Value() const
{
    const TwColumn *column = Column();
    if (column && m_itemIndex >= 0 && m_itemIndex < column->Values().size())
        return column->Values().at(m_itemIndex);
    if (text().isEmpty())
        return {};
    return text();
}

void TwInPickList::SetValue(const QVariant &value)
{
    m_setting = true;
    m_itemIndex = -1;
    const TwColumn *column = Column();
    if (value.isNull() || !value.isValid()) {
        setText(QString());
    } else {
        const QString wanted = value.toString();
        m_itemIndex = column ? static_cast<int>(column->Values().indexOf(wanted)) : -1;
        setText(m_itemIndex >= 0 ? ShownText(m_itemIndex) : wanted);
    }
    m_setting = false;
    TwInEdit::SetValue(text());
}

void TwInPickList::TypedText()
{
    if (m_setting)
        return;
    m_itemIndex = -1;
    if (m_droppedDown && (text().isEmpty() || m_list->Locate(text(), true) < 0))
        m_list->SetItemIndex(-1);
}

void TwInPickList::DropDown()
{
    TwColumn *column = Column();
    if (m_droppedDown || !column)
        return;
    TwColumnListOption &option = column->ListOption();
    m_list->SetOptions(&option, column->Items(), column->Values(), option.Images(), column->EditBorder() == webSunken);
    m_dropDownIndex = m_itemIndex;
    m_list->SetItemIndex(m_itemIndex);
    if (m_itemIndex < 0 && !text().isEmpty())
        m_list->Locate(text(), true);
    TwInCombo::DropDown();
}

void TwInPickList::RestoreText()
{
    m_setting = true;
    setText(m_dropDownText);
    m_setting = false;
    m_itemIndex = m_dropDownIndex;
}

void TwInPickList::CloseUp(bool accept)
{
    if (!m_droppedDown)
        return;
    CloseList();
    TwColumn *column = Column();
    const int row = m_list->ItemIndex();
    if (accept && column && column->EditCanModify()) {
        if (row >= 0 && row < column->Values().size()) {
            m_itemIndex = row;
            m_setting = true;
            setText(ShownText(row));
            m_setting = false;
            MarkModified();
        } else if (column->ListOption().ValuesOnly()) {
            RestoreText();
        }
    } else {
        RestoreText();
    }
    selectAll();
    ListClosedUp(accept);
}
