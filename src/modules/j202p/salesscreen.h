#pragma once

// The daily sales screen of program J202P: the sales grid with its query and save
// buttons and a status line, on the module's database connection.

#include <QSqlDatabase>
#include <QWidget>

class QLabel;
class QPushButton;
class TTabrix;
class TwColumn;

/// Not a Q_OBJECT: it needs no meta-object, and no type of a module that the main
/// program unloads may enter Qt's process-wide type registry.
class TSalesScreen : public QWidget
{
public:
    explicit TSalesScreen(const QSqlDatabase &connection, QWidget *parent = nullptr);
    ~TSalesScreen() override;

    TTabrix *Grid() const { return m_grid; }
    /// The last line of the status bar: rows loaded, what a save wrote, or why it failed.
    QString Status() const;

    /// "조회": reads every sale anew; unsaved changes are offered for saving first.
    bool Query();
    /// "저장": posts the row being edited, then writes the changes in one transaction; on
    /// failure shows the cause and keeps every row and state as it was.
    bool Save();
    /// "엑셀": the rows as a workbook at `path`, or where the user picks when `path` is
    /// empty; false when it was not written (the cause shown) or the user cancelled.
    bool ExportExcel(const QString &path = {});
    /// "인쇄": the rows in a print preview, from which the user prints them.
    void Print();
    /// Whether rows are inserted, updated or deleted, or the current row is being edited.
    bool HasChanges() const;
    /// Asks whether to save unsaved changes (Yes, No, Cancel); false when the screen must
    /// stay open.
    bool ConfirmLeave();

private:
    void TitleClicked(TwColumn *column);
    void CalcAmount();
    void ShowStatus(const QString &text);
    QString Caption() const;

    QSqlDatabase m_connection;
    TTabrix *m_grid = nullptr;
    QPushButton *m_query = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_excel = nullptr;
    QPushButton *m_print = nullptr;
    QLabel *m_status = nullptr;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
};
