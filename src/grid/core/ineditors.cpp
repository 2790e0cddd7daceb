// The common part of the in-place editors and the grid's edit button.

#include "grid/core/ineditors.h"
#include "grid/core/extents.h"

#include "grid/core/ineditors_p.h"

#include "grid/columns.h"
#include "grid/customgrid.h"
#include "grid/uxgraphics.h"
#include "grid/uxutils.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

struct TwInEditor::Private
{
    TwCustomGrid *m_grid = nullptr;
    // The column may go while its editor is hidden.
    QPointer<TwColumn> m_column;
    // Cleared by SetValue, set by every change the user makes.
    bool m_modified = false;
    // The column allowed a change of the value shown.
    bool m_allowed = false;
};

TwInEditor::TwInEditor(TwCustomGrid *grid)
    : d(std::make_unique<Private>())
{
    d->m_grid = grid;
}

TwInEditor::~TwInEditor() = default;

bool TwInEditor::KeyToGrid(int key, Qt::KeyboardModifiers modifiers) const
{
    return Grid()->EditorKeyDown(key, modifiers);
}

void TwInEditor::Beep() const
{
    Grid()->EditorBeep();
}

void TwInEditor::ListDroppedDown() const
{
    Grid()->DoDropDown();
}

void TwInEditor::ListClosedUp(bool accept) const
{
    Grid()->DoCloseUp(accept);
}

bool TwInEditor::GridCompleting() const
{
    return Grid()->CompletingEdit();
}

bool TwInEditor::StillEditing(const TwColumn *column, int row) const
{
    const TwCustomGrid *grid = Grid();
    return grid->EditorShowing() && grid->EditingColumn() == column && grid->EditingRow() == row;
}

int TwInEditor::EditingRow() const
{
    return Grid()->EditingRow();
}

TwCustomGrid *TwInEditor::Grid() const
{
    return d->m_grid;
}

TwColumn *TwInEditor::Column() const
{
    return d->m_column;
}

void TwInEditor::SetColumn(TwColumn *column)
{
    d->m_column = column;
}

bool TwInEditor::Modified() const
{
    return d->m_modified;
}

void TwInEditor::SetModified(bool value)
{
    d->m_modified = value;
}

void TwInEditor::ApplyColumn()
{
}

bool TwInEditor::CanModify()
{
    if (d->m_allowed)
        return true;
    TwColumn *column = Column();
    d->m_allowed = column && column->EditCanModify();
    if (!d->m_allowed)
        Beep();
    return d->m_allowed;
}

void TwInEditor::ForgetModifyAnswer()
{
    d->m_allowed = false;
}

bool TwIsPrintableKey(const QKeyEvent *event)
{
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool TwInEditor::RefusesTypedChange(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) || event->key() == Qt::Key_Backspace)
        return !CanModify();
    if (!TwIsPrintableKey(event))
        return false;
    TwColumn *column = Column();
    if (column && !column->IsValidChar(event->text().at(0))) {
        Beep();
        return true;
    }
    return !CanModify();
}

bool TwInEditor::RefusesComposition(const QInputMethodEvent *event)
{
    return (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) && !CanModify();
}

void TwInEditor::Move(const QRect &rect, bool show)
{
    ApplyColumn();
    QWidget *widget = Widget();
    widget->setGeometry(rect);
    if (show)
        widget->show();
}

void TwInEditor::HideEditor()
{
    QWidget *widget = Widget();
    const bool focus = widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget());
    // The grid takes the focus before the control hides, so that it does not wander off.
    if (focus && Grid())
        Grid()->setFocus(Qt::OtherFocusReason);
    widget->hide();
}

// The edit button.

TwEditButton::TwEditButton(TwCustomGrid *grid)
    : QWidget(grid->viewport())
    , m_grid(grid)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    hide();
}

void TwEditButton::Move(TwColumn *column, int row)
{
    const TwGridExtents &extents = m_grid->Extents();
    const bool inView = row >= m_grid->GetTopRow() && extents.GetTops(row) < extents.FooterTop();
    if (!column || !column->EditButton() || row < 0 || m_grid->GetRowCount() == 0 || !inView) {
        hide();
        return;
    }
    const QRect cell = m_grid->EditorRect(nullptr, row, false);
    const int width = TXButtonWidth();
    const QRect rect(cell.right() + 1 - width, cell.top(), width, cell.height());
    if (cell.width() < width || cell.height() <= 0) {
        hide();
        return;
    }
    setGeometry(rect);
    show();
    raise();
}

void TwEditButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TXDrawEllipsis(&painter, rect(), m_down);
}

void TwEditButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_tracking = true;
    m_down = true;
    update();
}

void TwEditButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking)
        return;
    const bool down = rect().contains(event->position().toPoint());
    if (down == m_down)
        return;
    m_down = down;
    update();
}

void TwEditButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    const bool inside = rect().contains(event->position().toPoint());
    m_down = false;
    update();
    if (inside)
        m_grid->EditButtonClick();
}
