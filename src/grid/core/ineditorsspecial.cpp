// The custom-painted editors (check box, boolean mark, radio group) and the factory that
// makes the editor of each edit kind.

#include "grid/core/ineditors_p.h"

#include "grid/customgrid.h"
#include "grid/uxgraphics.h"

#include <QKeyEvent>
#include <QPainter>

// TwInSpecial

TwInSpecial::TwInSpecial(TwCustomGrid *grid)
    : QWidget(nullptr)
    , TwInEditor(grid)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

bool TwInSpecial::CanModify()
{
    TwColumn *column = Column();
    if (column && column->EditCanModify())
        return true;
    Beep();
    return false;
}

void TwInSpecial::SetChanged()
{
    MarkModified();
    update();
}

bool TwInSpecial::CommonKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    bool toGrid = false;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        toGrid = !(modifiers & Qt::AltModifier);
        break;
    case Qt::Key_Insert: // plain Insert only: Ctrl+Insert and Shift+Insert stay the edit's
        toGrid = !(modifiers & (Qt::ControlModifier | Qt::ShiftModifier));
        break;
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F3:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        toGrid = true;
        break;
    case Qt::Key_Delete:
    case Qt::Key_F2:
        toGrid = ctrl;
        break;
    default:
        break;
    }
    if (!toGrid)
        return false;
    event->accept();
    KeyToGrid(key, modifiers);
    return true;
}

// TwInCheckEdit

TwInCheckEdit::TwInCheckEdit(TwCustomGrid *grid)
    : TwInSpecial(grid)
{
}

QVariant TwInCheckEdit::Value() const
{
    return m_value;
}

void TwInCheckEdit::SetValue(const QVariant &value)
{
    m_value = value.isNull() || !value.isValid() ? QVariant() : QVariant(value.toBool());
    SetModified(false);
    update();
}

void TwInCheckEdit::Toggle()
{
    if (!CanModify())
        return;
    m_value = !(m_value.isValid() && m_value.toBool());
    SetChanged();
}

void TwInCheckEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const TwColumn *column = Column();
    const TwAlignment alignment = column ? column->Alignment() : taCenter;
    const TwTextLayout layout = column ? column->Layout() : tlCenter;
    TXDrawCheckBox(&painter, rect(), m_value.toBool(), !m_value.isValid(), QString(), alignment, layout, false, true);
}

void TwInCheckEdit::keyPressEvent(QKeyEvent *event)
{
    if (CommonKey(event))
        return;
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    event->accept();
    switch (key) {
    case Qt::Key_Space:
        Toggle();
        return;
    case Qt::Key_Delete:
        if (CanModify()) {
            m_value = QVariant();
            SetChanged();
        }
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
        KeyToGrid(key, modifiers);
        return;
    default:
        event->ignore();
        return;
    }
}

void TwInCheckEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Toggle();
}

// TwInBoolEdit

TwInBoolEdit::TwInBoolEdit(TwCustomGrid *grid)
    : TwInCheckEdit(grid)
{
}

void TwInBoolEdit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TXDrawBoolean(&painter, rect(), m_value.toBool(), false);
}

// TwInRadioGroup

TwInRadioGroup::TwInRadioGroup(TwCustomGrid *grid)
    : TwInSpecial(grid)
{
}

int TwInRadioGroup::Count() const
{
    return Column() ? static_cast<int>(Column()->Values().size()) : 0;
}

int TwInRadioGroup::Columns() const
{
    return Column() ? std::max(1, Column()->RadioColumns()) : 1;
}

QVariant TwInRadioGroup::Value() const
{
    return m_index >= 0 ? QVariant(m_index) : QVariant();
}

void TwInRadioGroup::SetValue(const QVariant &value)
{
    m_index = value.isNull() || !value.isValid() ? -1 : value.toInt();
    if (m_index >= Count())
        m_index = -1;
    SetModified(false);
    update();
}

void TwInRadioGroup::Choose(int index)
{
    if (index == m_index || index < -1 || index >= Count() || !CanModify())
        return;
    m_index = index;
    SetChanged();
}

void TwInRadioGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const TwColumn *column = Column();
    if (!column)
        return;
    painter.setFont(column->Font().Font);
    QStringList items = column->Items().isEmpty() ? column->Values() : column->Items();
    TXDrawRadioGroup(&painter, rect(), items.mid(0, Count()), Columns(), m_index, column->Alignment(), column->Layout(),
                     false, true);
}

void TwInRadioGroup::keyPressEvent(QKeyEvent *event)
{
    if (CommonKey(event))
        return;
    TwCustomGrid *grid = Grid();
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool arrowMove = grid->Options().Has(wgoArrowMove);
    const int count = Count();
    const int columns = Columns();
    const int rows = (count + columns - 1) / columns;
    const int itemRow = m_index < 0 ? 0 : m_index / columns;
    const int itemCol = m_index < 0 ? 0 : m_index % columns;
    event->accept();
    auto toGrid = [&] { KeyToGrid(key, modifiers); };
    switch (key) {
    case Qt::Key_Up:
        if (ctrl || itemRow == 0)
            return toGrid();
        break;
    case Qt::Key_Down:
        if (ctrl || itemRow >= rows - 1)
            return toGrid();
        break;
    case Qt::Key_Left:
        if (arrowMove && (ctrl || itemCol == 0))
            return toGrid();
        break;
    case Qt::Key_Right:
        if (arrowMove && (ctrl || itemCol == columns - 1 || m_index == count - 1))
            return toGrid();
        break;
    case Qt::Key_Home:
        if (arrowMove && m_index == 0)
            return toGrid();
        break;
    case Qt::Key_End:
        if (arrowMove && m_index == count - 1)
            return toGrid();
        break;
    case Qt::Key_Delete:
        if (m_index >= 0 && CanModify()) {
            m_index = -1;
            SetChanged();
        }
        return;
    default:
        event->ignore();
        return;
    }
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) || count == 0)
        return;
    if (m_index < 0)
        return Choose(0);
    switch (key) {
    case Qt::Key_Left:
        return Choose(std::max(m_index - 1, itemRow * columns));
    case Qt::Key_Right:
        return Choose(std::min(m_index + 1, count - 1));
    case Qt::Key_Up:
        return Choose(m_index - columns);
    case Qt::Key_Down:
        return Choose(std::min(m_index + columns, count - 1));
    case Qt::Key_Home:
        return Choose(0);
    case Qt::Key_End:
        return Choose(count - 1);
    default:
        return;
    }
}

void TwInRadioGroup::mousePressEvent(QMouseEvent *event)
{
    const TwColumn *column = Column();
    if (event->button() != Qt::LeftButton || !column)
        return;
    for (int index = 0; index < Count(); ++index) {
        if (TXRadioItemRect(column->Font().Font, rect(), Count(), Columns(), index, column->Layout())
                .contains(event->position().toPoint())) {
            Choose(index);
            return;
        }
    }
}

// The factory.

TwInEditor *TwCreateInEditor(TwEditKind kind, TwCustomGrid *grid)
{
    switch (kind) {
    case wekText:
        return new TwInEdit(grid);
    case wekMultiText:
        return new TwInMultiEdit(grid);
    case wekCheckBox:
        return new TwInCheckEdit(grid);
    case wekBoolean:
        return new TwInBoolEdit(grid);
    case wekRadioGroup:
        return new TwInRadioGroup(grid);
    case wekNumber:
    case wekSpinEdit: {
        auto *editor = new TwInNumEdit(grid);
        return editor;
    }
    case wekDate:
        return new TwInDateEdit(grid, dtkDate);
    case wekTime:
        return new TwInTimeEdit(grid);
    case wekPickList:
        return new TwInPickList(grid);
    default:
        return nullptr;
    }
}
