// TabrixDemo: the complete grid over a million generated sales rows, in group mode with a
// fixed group and three footer lines. Cells may be typed into (the editor opens on the
// first key), rows added (Insert, Down on the last row) and deleted (Ctrl+Delete, with a
// question); on exit the row states are printed. Its menus save the rows as a workbook
// (Ctrl+E), a CSV file or a PDF, print them through a preview (Ctrl+P), and copy and paste
// them with spreadsheets; the grid's right-click menu offers the same.
//   TabrixDemo [--rows N] [--column-mode] [--log] [--shots DIR]
// --shots saves pictures of the grid at the top, the middle and the end of its rows as
// DIR/tabrixdemo-top.png, -middle.png and -end.png, and ends.
// With --log every grid event is printed as one line on standard output, so that a script
// driving the window (xdotool) can read what happened; the painting hooks (OnDraw…,
// OnGetText), raised for every cell painted, are left out.

#include "demo/demogrid.h"

#include "grid/tabrix.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>

#include <cstdio>
#include <exception>
#include <functional>
#include <utility>

namespace {

void Log(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString Name(const TwColumn *column)
{
    return column ? column->Title().Caption() : QStringLiteral("-");
}

// The current position: the column or cell, and its column's caption.
QString Place(const TTabrix &grid)
{
    const QString column = Name(grid.SelectedColumn());
    if (!grid.GroupMode())
        return QStringLiteral("col=%1 column=%2").arg(grid.CurCol()).arg(column);
    const TwCell cell = grid.CurCell();
    return QStringLiteral("cell=%1,%2,%3 column=%4").arg(cell.Group).arg(cell.Level).arg(cell.Index).arg(column);
}

void ConnectLog(TTabrix &grid)
{
    QObject::connect(&grid, &TTabrix::OnRowExit, &grid,
                     [&grid] { Log(QStringLiteral("RowExit row=%1").arg(grid.CurRow())); });
    QObject::connect(&grid, &TTabrix::OnRowEnter, &grid,
                     [&grid] { Log(QStringLiteral("RowEnter row=%1").arg(grid.CurRow())); });
    QObject::connect(&grid, &TTabrix::OnRowChange, &grid, [&grid] {
        Log(QStringLiteral("RowChange row=%1 top=%2").arg(grid.CurRow()).arg(grid.TopRow()));
    });
    QObject::connect(&grid, &TTabrix::OnCellExit, &grid, [&grid] { Log(QStringLiteral("CellExit %1").arg(Place(grid))); });
    QObject::connect(&grid, &TTabrix::OnCellEnter, &grid,
                     [&grid] { Log(QStringLiteral("CellEnter %1").arg(Place(grid))); });
    QObject::connect(&grid, &TTabrix::OnSelectionChanged, &grid, [&grid] {
        Log(QStringLiteral("SelectionChanged selected=%1").arg(grid.GetSelectedCount()));
    });
    QObject::connect(&grid, &TTabrix::OnColumnTitleClick, &grid,
                     [](TwColumn *column) { Log(QStringLiteral("ColumnTitleClick column=%1").arg(Name(column))); });
    QObject::connect(&grid, &TTabrix::OnGroupTitleClick, &grid, [](TwGroup *group) {
        Log(QStringLiteral("GroupTitleClick group=%1").arg(group ? group->Title().Caption() : QStringLiteral("-")));
    });
    QObject::connect(&grid, &TTabrix::OnHeaderTitleClick, &grid, [] { Log(QStringLiteral("HeaderTitleClick")); });
    QObject::connect(&grid, &TTabrix::OnFooterTitleClick, &grid,
                     [](int footer) { Log(QStringLiteral("FooterTitleClick footer=%1").arg(footer)); });
    QObject::connect(&grid, &TTabrix::OnMarkerClick, &grid,
                     [](int row) { Log(QStringLiteral("MarkerClick row=%1").arg(row)); });
    QObject::connect(&grid, &TTabrix::OnColumnWidthChanged, &grid, [](TwColumn *column, int oldWidth) {
        Log(QStringLiteral("ColumnWidthChanged column=%1 old=%2 new=%3")
                .arg(Name(column))
                .arg(oldWidth)
                .arg(column->Width()));
    });
    QObject::connect(&grid, &TTabrix::OnGroupWidthChanged, &grid, [](TwGroup *group, int oldWidth) {
        Log(QStringLiteral("GroupWidthChanged group=%1 old=%2 new=%3")
                .arg(group->Title().Caption())
                .arg(oldWidth)
                .arg(group->Width()));
    });
    QObject::connect(&grid, &TTabrix::OnColumnSizing, &grid, [](TwColumn *column, bool &allow) {
        Log(QStringLiteral("ColumnSizing column=%1 allow=%2").arg(Name(column)).arg(allow));
    });
    QObject::connect(&grid, &TTabrix::OnGroupSizing, &grid, [](TwGroup *group, bool &allow) {
        Log(QStringLiteral("GroupSizing group=%1 allow=%2").arg(group->Title().Caption()).arg(allow));
    });
    QObject::connect(&grid, &TTabrix::OnLevelSizing, &grid, [](TwGroup *group, int level, bool &allow) {
        Log(QStringLiteral("LevelSizing group=%1 level=%2 allow=%3")
                .arg(group->Title().Caption())
                .arg(level)
                .arg(allow));
    });
    QObject::connect(&grid, &TTabrix::OnLevelHeightChanged, &grid, [](TwGroup *group, int level, int oldHeight) {
        Log(QStringLiteral("LevelHeightChanged group=%1 level=%2 old=%3")
                .arg(group->Title().Caption())
                .arg(level)
                .arg(oldHeight));
    });
    QObject::connect(&grid, &TTabrix::OnHeaderHeightChanged, &grid,
                     [](int oldHeight) { Log(QStringLiteral("HeaderHeightChanged old=%1").arg(oldHeight)); });
    QObject::connect(&grid, &TTabrix::OnRowHeightChanged, &grid,
                     [](int oldHeight) { Log(QStringLiteral("RowHeightChanged old=%1").arg(oldHeight)); });
    QObject::connect(&grid, &TTabrix::OnEditButtonClick, &grid, [] { Log(QStringLiteral("EditButtonClick")); });
    QObject::connect(&grid, &TTabrix::OnCalcFooters, &grid, [](bool &) { Log(QStringLiteral("CalcFooters")); });
    QObject::connect(&grid, &TTabrix::OnDataChanged, &grid, [] { Log(QStringLiteral("DataChanged")); });
    // The editing cycle.
    const auto rowEvent = [&grid](const char *name) {
        return [&grid, name] { Log(QStringLiteral("%1 row=%2").arg(QLatin1String(name)).arg(grid.CurRow())); };
    };
    QObject::connect(&grid, &TTabrix::OnBeforeEdit, &grid, rowEvent("BeforeEdit"));
    QObject::connect(&grid, &TTabrix::OnAfterEdit, &grid, rowEvent("AfterEdit"));
    QObject::connect(&grid, &TTabrix::OnBeforeInsert, &grid,
                     [](bool append) { Log(QStringLiteral("BeforeInsert append=%1").arg(append)); });
    QObject::connect(&grid, &TTabrix::OnAfterInsert, &grid, [&grid](bool append) {
        Log(QStringLiteral("AfterInsert append=%1 row=%2").arg(append).arg(grid.CurRow()));
    });
    QObject::connect(&grid, &TTabrix::OnNewRow, &grid, rowEvent("NewRow"));
    QObject::connect(&grid, &TTabrix::OnBeforePost, &grid, rowEvent("BeforePost"));
    QObject::connect(&grid, &TTabrix::OnAfterPost, &grid, rowEvent("AfterPost"));
    QObject::connect(&grid, &TTabrix::OnBeforeCancel, &grid, rowEvent("BeforeCancel"));
    QObject::connect(&grid, &TTabrix::OnAfterCancel, &grid, rowEvent("AfterCancel"));
    QObject::connect(&grid, &TTabrix::OnBeforeDelete, &grid, rowEvent("BeforeDelete"));
    QObject::connect(&grid, &TTabrix::OnDeleteRow, &grid,
                     [](int row, bool &) { Log(QStringLiteral("DeleteRow row=%1").arg(row)); });
    QObject::connect(&grid, &TTabrix::OnAfterDelete, &grid, [&grid] {
        Log(QStringLiteral("AfterDelete row=%1 rows=%2").arg(grid.CurRow()).arg(grid.GetRowCount()));
    });
    QObject::connect(&grid, &TTabrix::OnValueChanged, &grid,
                     [](TwMemColumn *column) { Log(QStringLiteral("ValueChanged column=%1").arg(Name(column))); });
}

// The rows an application would write back: how many of each state, and the first few.
void PrintRowStates(const TTabrix &grid)
{
    constexpr int Shown = 5;
    const std::pair<TwRowState, const char *> states[] = {
        {wrInserted, "inserted"}, {wrUpdated, "updated"}, {wrDeleted, "deleted"}};
    const TwRowInfos &rows = grid.RowInfos();
    for (const auto &[state, name] : states) {
        QStringList numbers;
        int count = 0;
        for (int row = 0; row < rows.Count(); ++row) {
            if (rows.State(row) != state)
                continue;
            if (++count <= Shown)
                numbers << QString::number(row + 1);
        }
        if (count > Shown)
            numbers << QStringLiteral("…");
        Log(QStringLiteral("%1=%2 rows=%3").arg(QLatin1String(name)).arg(count).arg(numbers.join(QLatin1Char(','))));
    }
}

// Runs a command of the menu; a failure is shown, the grid stays as it was.
void Run(QWidget *window, const std::function<void()> &command)
{
    try {
        command();
    } catch (const std::exception &error) {
        QMessageBox::warning(window, QStringLiteral("TabrixDemo"), QString::fromUtf8(error.what()));
    }
}

// A path to save to, with `suffix` added when the user typed none; empty when cancelled.
QString SavePath(QWidget *window, const QString &caption, const QString &filter, const QString &suffix)
{
    QString path = QFileDialog::getSaveFileName(window, caption, QString(), filter);
    if (!path.isEmpty() && !path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    return path;
}

// 파일: the rows as a workbook, a CSV file or a PDF, on paper, and the end; 편집: copy and
// paste with spreadsheets.
void BuildMenus(QMainWindow &window, TTabrix &grid)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("파일(&F)"));
    QAction *xlsx = file->addAction(QStringLiteral("엑셀로 저장(&E)..."), &window, [&window, &grid] {
        Run(&window, [&] {
            const QString path = SavePath(&window, QStringLiteral("엑셀로 저장"), QStringLiteral("Excel 통합 문서 (*.xlsx)"),
                                          QStringLiteral(".xlsx"));
            if (!path.isEmpty())
                grid.ExportToXlsx(path);
        });
    });
    xlsx->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    file->addAction(QStringLiteral("CSV로 저장(&C)..."), &window, [&window, &grid] {
        Run(&window, [&] {
            const QString path =
                SavePath(&window, QStringLiteral("CSV로 저장"), QStringLiteral("CSV (*.csv)"), QStringLiteral(".csv"));
            if (!path.isEmpty())
                grid.ExportToCsv(path);
        });
    });
    file->addAction(QStringLiteral("PDF로 저장(&D)..."), &window, [&window, &grid] {
        Run(&window, [&] {
            const QString path =
                SavePath(&window, QStringLiteral("PDF로 저장"), QStringLiteral("PDF (*.pdf)"), QStringLiteral(".pdf"));
            if (!path.isEmpty())
                grid.ExportToPdf(path);
        });
    });
    QAction *print = file->addAction(QStringLiteral("인쇄(&P)..."), &window,
                                     [&window, &grid] { Run(&window, [&] { grid.PrintPreview(); }); });
    print->setShortcut(QKeySequence::Print);
    file->addSeparator();
    // Ctrl+Q closes the window the way its close button does, also where no window manager
    // draws one (a script on a bare X server).
    QAction *quit = file->addAction(QStringLiteral("끝내기(&X)"), &window, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The grid takes its copy and paste keys itself while it has the keyboard; the menu's
    // commands are for the mouse.
    QMenu *edit = window.menuBar()->addMenu(QStringLiteral("편집(&E)"));
    edit->addAction(QStringLiteral("복사(&C)"), &window, [&window, &grid] { Run(&window, [&] { grid.CopyToClipboard(); }); });
    edit->addAction(QStringLiteral("제목과 함께 복사(&T)"), &window,
                    [&window, &grid] { Run(&window, [&] { grid.CopyToClipboard(true); }); });
    edit->addAction(QStringLiteral("붙여넣기(&P)"), &window,
                    [&window, &grid] { Run(&window, [&] { grid.PasteFromClipboard(); }); });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TabrixDemo"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption rowsOption(QStringLiteral("rows"), QStringLiteral("Number of rows (default 1000000)."),
                                        QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption columnsOption(QStringLiteral("column-mode"),
                                           QStringLiteral("Show the twelve columns side by side instead of in groups."));
    parser.addOption(columnsOption);
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Print every grid event on standard output."));
    const QCommandLineOption shotsOption(QStringLiteral("shots"),
                                         QStringLiteral("Save pictures at the top, middle and end into DIR, then end."),
                                         QStringLiteral("DIR"));
    parser.addOption(rowsOption);
    parser.addOption(shotsOption);
    parser.addOption(logOption);
    parser.process(app);
    bool ok = false;
    const int rows = parser.value(rowsOption).toInt(&ok);
    if (!ok || rows < 0) {
        std::fprintf(stderr, "TabrixDemo: --rows takes a count of 0 or more\n");
        return 2;
    }

    // The window before the grid: the grid, its central widget, goes first at the end.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TabrixDemo"));
    TTabrix grid;
    grid.setObjectName(QStringLiteral("Tabrix1"));
    TabrixDemo::BuildGrid(grid, !parser.isSet(columnsOption));
    TwGridOptions options = grid.Options();
    for (const TwGridOption option : {wgoEditing, wgoInserting, wgoDeleting, wgoConfirmDelete})
        options.Include(option);
    // The editor opens on typing, F2, Enter or a click on the current cell, and closes when
    // the current cell moves.
    options.Exclude(wgoAlwaysShowEditor);
    grid.SetOptions(options);
    // A click on a column's title sorts the rows by it, a second click on the same column
    // the other way round (a column title is then moved with Ctrl held).
    for (int i = 0; i < grid.Columns().Count(); ++i)
        grid.GetMemColumn(i)->Title().SetClicking(true);
    QObject::connect(&grid, &TTabrix::OnColumnTitleClick, &grid, [&grid, sorted = -1, descending = false](TwColumn *column) mutable {
        if (!column)
            return;
        descending = column->Index() == sorted && !descending;
        sorted = column->Index();
        try {
            grid.Sort(sorted, descending, true);
        } catch (const std::exception &failure) {
            // The row being edited could not be stored first.
            std::fprintf(stderr, "TabrixDemo: %s\n", failure.what());
            sorted = -1;
        }
    });
    QElapsedTimer timer;
    timer.start();
    try {
        TabrixDemo::FillRows(grid, rows);
    } catch (const std::exception &error) {
        // More rows than the pools can hold (or than memory allows).
        std::fprintf(stderr, "TabrixDemo: %s\n", error.what());
        return 2;
    }
    const qint64 fillMs = timer.elapsed();
    const bool log = parser.isSet(logOption);
    if (log) {
        ConnectLog(grid);
        Log(QStringLiteral("Ready rows=%1 fill=%2ms").arg(grid.GetRowCount()).arg(fillMs));
    }
    window.setCentralWidget(&grid);
    BuildMenus(window, grid);
    window.resize(1100, 660);
    window.show();
    grid.setFocus();
    if (parser.isSet(shotsOption)) {
        const QString folder = parser.value(shotsOption);
        const std::pair<const char *, int> places[] = {{"top", 0}, {"middle", rows / 2}, {"end", rows - 1}};
        for (const auto &[name, row] : places) {
            grid.SetCurRow(row);
            grid.SetTopRow(row - grid.VisibleRowCount() / 2);
            grid.grab().save(QStringLiteral("%1/tabrixdemo-%2.png").arg(folder, QString::fromLatin1(name)));
        }
        // Narrow and scrolled sideways: the fixed group stays, the others pass beneath it.
        window.resize(560, 440);
        grid.SetLeftPos(150);
        grid.grab().save(QStringLiteral("%1/tabrixdemo-scrolled.png").arg(folder));
        return 0;
    }
    const int status = app.exec();
    if (log)
        Log(QStringLiteral("Closed"));
    // A row still being edited or inserted when the window closes is kept, as an
    // application saving its screen would; one that cannot be posted is reported.
    try {
        grid.Post();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "TabrixDemo: the row being edited was not kept: %s\n", error.what());
    }
    PrintRowStates(grid);
    return status;
}
