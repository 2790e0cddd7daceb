#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"

// The row-change notification: quick moves through the rows (a held arrow key) end in one
// OnRowChange once the grid has rested for ChangeDelay milliseconds.

#include <QTimerEvent>

#include <utility>

void TwCustomGrid::RowChanged(bool delayed)
{
    d->m_rowChangeTimer.stop();
    if (d->m_changeDelay <= 0)
        return;
    if (delayed) {
        d->m_rowChangeTimer.start(d->m_changeDelay, this);
        return;
    }
    // A handler that moves the row again must not raise the event inside itself.
    if (d->m_inRowChange)
        return;
    d->m_inRowChange = true;
    struct TReset
    {
        bool &flag;
        ~TReset() { flag = false; }
    } reset{d->m_inRowChange};
    emit OnRowChange();
}

void TwCustomGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != d->m_rowChangeTimer.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    d->m_rowChangeTimer.stop();
    RowChanged(false);
}
