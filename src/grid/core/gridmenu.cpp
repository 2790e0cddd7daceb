// The grid's own context menu: what a right click offers on any grid.

#include "grid/customgrid.h"
#include "platform/application.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>

std::unique_ptr<QMenu> TwCustomGrid::CreateStandardContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const bool rows = GetRowCount() > 0 && GetVColCount() > 0;
    // A refused copy is reported here: it must not unwind through the menu's event loop.
    const auto copying = [this](bool withTitles) {
        try {
            CopyToClipboard(withTitles);
        } catch (...) {
            Platform::ReportException(std::current_exception());
        }
    };
    QAction *copy = menu->addAction(QStringLiteral("복사"), this, [copying] { copying(false); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(rows);
    QAction *copyTitles =
        menu->addAction(QStringLiteral("제목과 함께 복사"), this, [copying] { copying(true); });
    copyTitles->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyTitles->setEnabled(rows);
    return menu;
}

void TwCustomGrid::contextMenuEvent(QContextMenuEvent *event)
{
    // A form in Designer has Designer's menu; a program that asked for its own menu
    // (CustomContextMenu) gets the signal from Qt and never comes here.
    if (Designing() || contextMenuPolicy() != Qt::DefaultContextMenu) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    std::unique_ptr<QMenu> menu = CreateStandardContextMenu();
    menu->exec(event->globalPos());
    event->accept();
}
