// Program J202P "일일판매현황": the daily sales of the demo database in a grid that the
// user edits and saves. The main program opens it in its window area (ShowInFrame).
//
// Each call is noted, as every module of the suite does, in the application's property
// "TovelSampleModuleCalls" and, when TOVEL_MODULE_TRACE names a file, in that file.

#include "salesscreen.h"

#include "caller/TovelModule.h"
#include "caller/ZULCaller.h"
#include "common/fixedfield.h"
#include "kit/modulenotes.h"
#include "kit/modulewindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QSqlDatabase>

namespace {

// The module's child window: it asks about unsaved changes before it closes.
class TSalesWindow : public TModuleWindow
{
public:
    using TModuleWindow::TModuleWindow;

protected:
    bool MayClose() override
    {
        auto *screen = dynamic_cast<TSalesScreen *>(widget());
        return !screen || screen->ConfirmLeave();
    }
};

void ShowInFrame(QApplication *, QMdiArea *screen, QSqlDatabase *, const TModuleArgs *record, std::uint32_t size)
{
    if (!screen || !record || size < sizeof(TModuleArgs))
        return;
    NoteShowInFrame(QStringLiteral("J202P"), record, size);
    const QString progId = ReadFixed(record->ProgId);

    // The module's own copy of the caller library's one connection.
    QSqlDatabase connection;
    ZUL_DB_CONNNECT(&connection);
    auto *window = new TSalesWindow(*record);
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
