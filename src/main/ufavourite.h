#pragma once

#include "common/utypes.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QFont;
class QMenuBar;
class QPixmap;
class QTreeWidgetItem;

/// What the favourites dialog edits: the menu's business areas and their programs.
struct TFavouriteInputs
{
    TUserMenuParts Groups;
    TUserMenus Programs;
};

/// Reads the dialog's inputs from the main menu. Groups: every top-level item whose hint
/// has a long part (group id = long part, name = short part trimmed), in menu order.
/// Programs: every enabled child of such an item whose hint has a long part, in menu
/// order, flagged "1" when its id is among `favouriteIds` (case-insensitively).
TFavouriteInputs FavouriteInputs(const QMenuBar *menuBar, const QStringList &favouriteIds);

/// The picture of a favourites button: image 120 + (groupIndex mod 3) of the image bank
/// with `progId` in lower case drawn on it at (0, 12) in `font`, colour RGB(F9, FC, 00),
/// on a transparent background. Without a bank picture the text goes on a transparent
/// 32 × 30 pixmap.
QPixmap FavouriteButtonPicture(int groupIndex, const QString &progId, const QFont &font);

/// The dialog "자주사용하는메뉴설정": a tree of the menu's groups and programs in which the
/// user ticks up to 20 favourites, saved per user id in Favourite.mnu.
class TfrmFavourite : public QDialog
{
    Q_OBJECT
public:
    /// State images of the tree's program nodes (group nodes carry none, index -1).
    /// Index 2 is never set by the dialog but reads as chosen too.
    enum TStateImage : int { siNone = -1, siNotChosen = 1, siPartlyChosen = 2, siChosen = 3 };
    /// How many favourites a user keeps.
    static constexpr int MaxFavourites = 20;

    explicit TfrmFavourite(QWidget *parent = nullptr);
    ~TfrmFavourite() override;

    /// Sets the user and the lists to show and clears the changed flag. The tree is
    /// filled from them when the dialog is shown (again at once when it is visible).
    void SetInputs(const QString &userId, const TUserMenuParts &groups, const TUserMenus &programs);
    const QString &UserId() const;
    /// The groups and programs with their tree nodes; saving updates the programs' flags.
    const TUserMenuParts &Groups() const;
    const TUserMenus &Programs() const;
    /// Whether a save of this opening wrote the user's favourites (the main window then
    /// rebuilds its toolbar).
    bool Changed() const;

    /// The state image index of `node` (siNone when it has none).
    static int StateIndex(const QTreeWidgetItem *node);
    /// Where `node`'s state image lies on the tree's viewport (empty when it has none).
    QRect StateImageRect(const QTreeWidgetItem *node) const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillTree();
    void LayoutTitleBand();
    void ToggleNode(QTreeWidgetItem *node);
    QTreeWidgetItem *StateImageAt(const QPoint &pos) const;
    void btnSaveClick();

    struct Private;
    std::unique_ptr<Private> d;
};
