#pragma once

#include "common/utypes.h"

#include <QMainWindow>
#include <QSqlDatabase>

#include <array>

class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;
class TMainBackground;

/// The suite's workspace: a multiple-document frame whose menu bar lists the programs
/// of the user's group.
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    const TLoginInfo &LoginInfo() const { return m_loginInfo; }
    QMdiArea *MdiArea() const;
    /// The database connection handed out by the caller library (invalid when none).
    const QSqlDatabase &Connection() const { return m_connection; }

    /// The employee number for whom NJ900E stays enabled whatever the department.
    static QString PrivilegedUserId();

signals:
    /// A program was chosen in the menu: its id and name, from the item's hint.
    void ProgramChosen(const QString &progId, const QString &progName);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateMenu();
    void FormFirstShow();
    void BuildMenu();
    void LayoutBars();
    void CloseAllChildren();
    void FillWindowList();
    void MenuClick();
    void N11Click();
    void N6Click();
    void N7Click();

    TMainBackground *m_background;
    QWidget *ToolBar1;
    QToolButton *btnClose;
    std::array<QLabel *, 3> m_panels{};
    QMenu *Window1 = nullptr;
    TLoginInfo m_loginInfo{};
    QSqlDatabase m_connection;
    std::array<quintptr, 108> m_moduleHandles{};
    bool m_shown = false;
};
