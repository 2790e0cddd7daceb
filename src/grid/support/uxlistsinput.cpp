#include "grid/uxlists.h"
#include "grid/support/uxlists_p.h"

// The item list's painting and input: keys it keeps or hands to its owner, the mouse while
// it holds the application's pointer as a popup, and the wheel.

#include "grid/uxgraphics.h"
#include "grid/uxutils.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

TwDrawInfo CellInfo(TColor lineColor, bool rightLine, bool bottomLine)
{
    TwDrawInfo info;
    TXInitDrawInfo(info);
    info.Alignment = taLeftJustify;
    info.Layout = tlCenter;
    info.Margins[0] = ListTextMarginLeft;
    info.Margins[2] = ListTextMarginRight;
    info.RightLineColor = lineColor;
    info.RightLineWidth = rightLine ? 1 : 0;
    info.BottomLineColor = lineColor;
    info.BottomLineWidth = bottomLine ? 1 : 0;
    return info;
}

} // namespace

bool TwItemList::KeepsKey(const QKeyEvent *event)
{
    if (event->modifiers() & Qt::AltModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

void TwItemList::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const TwListoption &option = d->Option();
    const int frame = FrameWidth();
    const QRect all = rect();
    p.fillRect(all, TXColor(option.Color()));
    if (d->m_ctl3d) {
        TXEffect3D(&p, all, true, true);
        TXEffect3D(&p, all.adjusted(1, 1, -1, -1), true, true);
    } else {
        p.setPen(Qt::black);
        p.drawRect(all.adjusted(0, 0, -1, -1));
    }
    const int right = width() - frame - (d->m_scrollBar->isVisible() ? d->m_scrollBar->width() : 0);
    p.setClipRect(QRect(frame, frame, right - frame, height() - 2 * frame));
    const int columns = GetColCount();
    const TColor lineColor = option.LineColor();

    // The cells of one row from the left; the last column takes the rest of the width.
    const auto cellRects = [&](int y, int rowHeight, auto &&paintCell) {
        int x = frame;
        for (int column = 0; column < columns && x < right; ++column) {
            const int w = column + 1 == columns ? std::max(right - x, GetColWidth(column)) : GetColWidth(column);
            paintCell(column, QRect(x, y, w, rowHeight), column + 1 < columns);
            x += w;
        }
    };

    if (option.ShowTitle()) {
        const TwFont font = option.TitleFont();
        p.setFont(font.Font);
        p.setPen(TXColor(font.Color));
        p.setBrush(TXColor(option.TitleColor()));
        cellRects(frame, d->m_titleHeight, [&](int column, const QRect &cell, bool inner) {
            TXDrawText(&p, cell, GetTitle(column), CellInfo(lineColor, inner && option.ColLines(), true), wbtnNone,
                       wbtsNone);
        });
    }

    const TwFont font = option.Font();
    p.setFont(font.Font);
    const int rows = GetRowCount();
    const int top = frame + HeaderHeight();
    for (int offset = 0; offset < d->m_visibleRows && d->m_topRow + offset < rows; ++offset) {
        const int row = d->m_topRow + offset;
        const bool selected = row == d->m_itemIndex;
        p.setBrush(selected ? TXColor(clHighlight) : TXColor(option.Color()));
        p.setPen(selected ? TXColor(clHighlightText) : TXColor(font.Color));
        cellRects(top + offset * d->m_rowHeight, d->m_rowHeight, [&](int column, const QRect &cell, bool inner) {
            const TwDrawInfo info = CellInfo(lineColor, inner && option.ColLines(), option.RowLines());
            const QString text = GetColText(row, column);
            if (column == 0 && d->HasImages())
                TXDrawText(&p, cell, text, info, wbtnNone, wbtsNone, d->m_images, GetImageIndex(row), wimgLeft);
            else
                TXDrawText(&p, cell, text, info, wbtnNone, wbtsNone);
        });
    }
}

bool TwItemList::event(QEvent *event)
{
    // Tab would move the focus inside the popup: the owner decides what it does.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            ForwardToOwner(event);
            return true;
        }
    }
    return QWidget::event(event);
}

void TwItemList::keyPressEvent(QKeyEvent *event)
{
    if (!KeepsKey(event)) {
        ForwardToOwner(event);
        return;
    }
    const int rows = GetRowCount();
    if (rows == 0)
        return;
    if (d->m_itemIndex < 0) {
        SetItemIndex(d->m_lastIndex >= 0 ? d->m_lastIndex : d->m_topRow);
        return;
    }
    const int page = std::max(1, d->m_visibleRows);
    switch (event->key()) {
    case Qt::Key_Up:
        SetItemIndex(std::max(0, d->m_itemIndex - 1));
        break;
    case Qt::Key_Down:
        SetItemIndex(d->m_itemIndex + 1);
        break;
    case Qt::Key_PageUp:
        SetItemIndex(std::max(0, d->m_itemIndex - page));
        break;
    case Qt::Key_PageDown:
        SetItemIndex(d->m_itemIndex + page);
        break;
    case Qt::Key_Home:
        SetItemIndex(0);
        break;
    case Qt::Key_End:
        SetItemIndex(rows - 1);
        break;
    default:
        break;
    }
}

void TwItemList::keyReleaseEvent(QKeyEvent *event)
{
    if (!KeepsKey(event))
        ForwardToOwner(event);
}

void TwItemList::inputMethodEvent(QInputMethodEvent *event)
{
    ForwardToOwner(event);
}

QVariant TwItemList::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (!d->m_owner)
        return QWidget::inputMethodQuery(query);
    const QVariant answer = d->m_owner->inputMethodQuery(query);
    // The input method places its window by the list, which holds the keyboard: the
    // owner's cursor is given in the list's coordinates.
    if (query != Qt::ImCursorRectangle && query != Qt::ImAnchorRectangle)
        return answer;
    const QRect rect = answer.toRect();
    return QRect(mapFromGlobal(d->m_owner->mapToGlobal(rect.topLeft())), rect.size());
}

void TwItemList::ForwardToOwner(QEvent *event)
{
    if (!d->m_owner) {
        event->ignore();
        return;
    }
    QCoreApplication::sendEvent(d->m_owner, event);
}

void TwItemList::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        // The press that closes the list does not reach the owner: a press on its drop-down
        // button would open the list again. Elsewhere it goes on to what lies under it.
        QWidget *owner = d->m_owner;
        if (owner && owner->rect().contains(owner->mapFromGlobal(event->globalPosition().toPoint())))
            setAttribute(Qt::WA_NoMouseReplay);
        CloseUp(false);
        if (isVisible())
            hide();
        return;
    }
    const int row = MouseToRow(pos.x(), pos.y());
    if (row >= 0)
        SetItemIndex(row);
}

void TwItemList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int row = MouseToRow(pos.x(), pos.y());
    if (row >= 0) {
        SetItemIndex(row);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // Dragging above or below the rows scrolls one row per move.
    const int top = FrameWidth() + HeaderHeight();
    if (pos.y() < top)
        SetItemIndex(std::max(0, d->m_itemIndex - 1));
    else if (pos.y() >= top + d->m_visibleRows * d->m_rowHeight)
        SetItemIndex(d->m_itemIndex + 1);
}

void TwItemList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    CloseUp(true);
}

void TwItemList::wheelEvent(QWheelEvent *event)
{
    QCoreApplication::sendEvent(d->m_scrollBar, event);
}

void TwItemList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UpdateScrollRange();
}

void TwItemList::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (isVisible())
        CloseUp(false);
}
