#include "grid/uxlists.h"
#include "grid/uxlists_p.h"

#include "grid/drawobjects.h"

#include <QCoreApplication>
#include <QScrollBar>

TwItemList::TwItemList(QWidget *owner)
    : QWidget(owner, Qt::Popup)
    , d(std::make_unique<TwItemListPrivate>())
{
    d->m_owner = owner;
    d->m_scrollBar = new QScrollBar(Qt::Vertical, this);
}

TwItemList::~TwItemList() = default;

QWidget *TwItemList::Owner() const { return d->m_owner; }
void TwItemList::SetOwner(QWidget *owner) { d->m_owner = owner; }

void TwItemList::SetOptions(const TwListoption *option, const QStringList &items, const QStringList &values,
                            const TwImageList *images, bool ctl3d)
{
    d->m_option = option;
    d->m_items = items;
    d->m_values = values;
    d->m_images = images;
    d->m_ctl3d = ctl3d;
}

const TwListoption *TwItemList::Option() const { return d->m_option; }
const QStringList &TwItemList::Items() const { return d->m_items; }
const QStringList &TwItemList::Values() const { return d->m_values; }
const TwImageList *TwItemList::Images() const { return d->m_images; }
bool TwItemList::Ctl3D() const { return d->m_ctl3d; }
bool TwItemList::ValuesMode() const { return d->m_items.size() < d->m_values.size() || d->m_items.isEmpty(); }
int TwItemList::ItemIndex() const { return d->m_itemIndex; }
void TwItemList::SetItemIndex(int row) { d->m_itemIndex = row; }
int TwItemList::TopRow() const { return d->m_topRow; }
void TwItemList::SetTopRow(int row) { d->m_topRow = row; }
int TwItemList::VisibleRowCount() const { return d->m_visibleRows; }
int TwItemList::GetRowCount() const { return 0; }
int TwItemList::GetColCount() const { return 0; }
QString TwItemList::GetColText(int, int) const { return {}; }
QString TwItemList::GetTitle(int) const { return {}; }
int TwItemList::GetColWidth(int) const { return 0; }
int TwItemList::RowHeight() const { return d->m_rowHeight; }
int TwItemList::HeaderHeight() const { return 1; }
int TwItemList::MouseToRow(int, int) const { return -1; }
int TwItemList::Locate(const QString &, bool) { return -1; }
int TwItemList::GetImageIndex(int row) const { return row; }
void TwItemList::CalcExtents() {}
void TwItemList::ResetBounds() {}
void TwItemList::InvalidateRow(int) {}
void TwItemList::InvalidateData() {}
void TwItemList::UpdateScrollRange() {}
QScrollBar *TwItemList::ScrollBar() const { return d->m_scrollBar; }
void TwItemList::CloseUp(bool accept) { emit OnCloseUp(this, accept); }
void TwItemList::ForwardToOwner(QEvent *event)
{
    if (d->m_owner)
        QCoreApplication::sendEvent(d->m_owner, event);
}
bool TwItemList::event(QEvent *event) { return QWidget::event(event); }
void TwItemList::paintEvent(QPaintEvent *) {}
void TwItemList::keyPressEvent(QKeyEvent *event) { ForwardToOwner(reinterpret_cast<QEvent *>(event)); }
void TwItemList::keyReleaseEvent(QKeyEvent *event) { ForwardToOwner(reinterpret_cast<QEvent *>(event)); }
void TwItemList::inputMethodEvent(QInputMethodEvent *event) { QWidget::inputMethodEvent(event); }
QVariant TwItemList::inputMethodQuery(Qt::InputMethodQuery query) const { return QWidget::inputMethodQuery(query); }
void TwItemList::mousePressEvent(QMouseEvent *event) { QWidget::mousePressEvent(event); }
void TwItemList::mouseMoveEvent(QMouseEvent *event) { QWidget::mouseMoveEvent(event); }
void TwItemList::mouseReleaseEvent(QMouseEvent *event) { QWidget::mouseReleaseEvent(event); }
void TwItemList::wheelEvent(QWheelEvent *event) { QWidget::wheelEvent(event); }
void TwItemList::resizeEvent(QResizeEvent *event) { QWidget::resizeEvent(event); }
