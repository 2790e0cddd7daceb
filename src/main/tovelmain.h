#pragma once

#include "common/utypes.h"
#include "main/dispatch.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QSqlDatabase>

#include <array>
#include <memory>

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

    const TModuleDispatch &Dispatcher() const { return *m_dispatch; }
    /// The favourites toolbar and its buttons (slots 1 to 19).
    QWidget *FavouritesBar() const { return ToolBar1; }
    const QList<QToolButton *> &FavouriteButtons() const { return m_favouriteButtons; }
    /// Whether the application-wide filter that folds the toolbar is in place.
    bool FoldingHookAttached() const { return !m_foldingHook.isNull(); }

    /// Rebuilds the favourites toolbar from Favourite.mnu.
    void BuildToolbar();
    /// Shows the favourites toolbar in full, or folds it to a thin strip.
    void Unfold();
    void Fold();

protected:
    bool event(QEvent *event) override;
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
    void RememberToolbarRect();
    void FollowPointer(const QPoint &globalPos);
    void FillWindowList();
    void MenuClick();
    void N5Click();
    void N11Click();
    void N6Click();
    void N7Click();

    TMainBackground *m_background;
    QWidget *ToolBar1;
    QToolButton *btnClose;
    std::array<QLabel *, 3> m_panels{};
    QMenu *Window1 = nullptr;
    TLoginInfo m_loginInfo{};
    TProgramArea m_programArea{};
    QSqlDatabase m_connection;
    std::unique_ptr<TModuleDispatch> m_dispatch;
    QList<QToolButton *> m_favouriteButtons;
    QRect m_toolbarRect;
    QPointer<QObject> m_foldingHook;
    bool m_shown = false;

    friend class TToolbarFoldingHook;
};
