#include "kit/modulewindow.h"

#include "caller/TovelModule.h"

#include <QCloseEvent>

TModuleWindow::TModuleWindow(const TModuleArgs &record)
    : m_mainWnd(record.MainWnd)
    , m_closeMsg(record.CloseMsg)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void TModuleWindow::closeEvent(QCloseEvent *event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        ZUL_POST_MESSAGE(m_mainWnd, m_closeMsg);
}
