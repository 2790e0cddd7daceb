// Program J202P "일일판매현황": the daily sales of the demo database in a grid that the
// user edits and saves. The main program opens it in its window area (ShowInFrame).
//
// Each call is noted, as every module of the suite does, in the application's property
// "TovelSampleModuleCalls" and, when TOVEL_MODULE_TRACE names a file, in that file.

#include "salesscreen.h"

#include "caller/TovelModule.h"
#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "common/modulenotes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSqlDatabase>

namespace {

// The module's child window: it asks about unsaved changes and posts the close message
// when it closes.
class TSalesWindow : public QMdiSubWindow
{
public:
    TSalesWindow(std::uint32_t mainWnd, std::uint32_t closeMsg)
        : m_mainWnd(mainWnd)
        , m_closeMsg(closeMsg)
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        auto *screen = dynamic_cast<TSalesScreen *>(widget());
        if (screen && !screen->ConfirmLeave()) {
            event->ignore();
            return;
        }
        QMdiSubWindow::closeEvent(event);
        if (event->isAccepted())
            ZUL_POST_MESSAGE(m_mainWnd, m_closeMsg);
    }

private:
    std::uint32_t m_mainWnd;
    std::uint32_t m_closeMsg;
};

void ShowInFrame(QApplication *, QMdiArea *screen, QSqlDatabase *, const TModuleArgs *record, std::uint32_t size)
{
    if (!screen || !record || size < sizeof(TModuleArgs))
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(record);
    bool tailZero = true;
    for (std::uint32_t i = sizeof(TModuleArgs); i < size; ++i)
        tailZero = tailZero && bytes[i] == 0;
    const QString progId = ReadFixed(record->ProgId);
    NoteModuleCall(QStringLiteral("J202P ShowInFrame prog=%1 user=%2 size=%3 close=%4 handle=%5 tail=%6")
                 .arg(progId, ReadFixed(record->LoginInfo.UserId))
                 .arg(size)
                 .arg(record->CloseMsg)
                 .arg(record->ModuleHandle)
                 .arg(tailZero ? QStringLiteral("zero") : QStringLiteral("set")));

    // The module's own copy of the caller library's one connection.
    QSqlDatabase connection;
    ZUL_DB_CONNNECT(&connection);
    auto *window = new TSalesWindow(record->MainWnd, record->CloseMsg);
    window->setObjectName(QStringLiteral("frm") + progId);
    window->setWindowTitle(QStringLiteral("%1 %2").arg(progId, ReadFixed(record->ProgName)));
    auto *sales = new TSalesScreen(connection, window);
    window->setWidget(sales);
    screen->addSubWindow(window);
    // Wide enough for every band and column, tall enough for a page of rows.
    window->resize(qMin(960, qMax(480, screen->width() - 8)), qMin(560, qMax(320, screen->height() - 8)));
    window->show();
    // Where the area would place it beside other windows, it may not fit: then it opens at
    // the area's top left corner.
    if (!screen->viewport()->rect().contains(window->geometry()))
        window->move(0, 0);
    sales->Query();
    sales->setFocus();
}

} // namespace

TOVEL_MODULE_SHOW(J202P, ShowInFrame, nullptr);
