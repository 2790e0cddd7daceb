#pragma once

// The borderless popup that the grid opens over a memo or picture cell: a main panel and a
// row of flat buttons under it, sizable at its right and bottom edges.

#include "grid/tabrixexport.h"

#include <QDialog>

#include <memory>

class QToolButton;
class QFrame;
class TwInDlgPrivate;

class TABRIX_EXPORT TwInDlg : public QDialog
{
    Q_OBJECT

public:
    /// The client size the popup opens with, and the height of its button row.
    static constexpr int DefaultWidth = 247;
    static constexpr int DefaultHeight = 127;
    static constexpr int ButtonPanelHeight = 20;
    /// How far from the right and bottom edges a press starts sizing the popup.
    static constexpr int SizingBorder = 4;

    ~TwInDlg() override;

    /// The panel above the buttons; its content sits 2 pixels inside it.
    QFrame *MainPanel() const;
    /// The panel of buttons at the bottom.
    QWidget *ButtonPanel() const;

protected:
    explicit TwInDlg(QWidget *parent);

    /// Appends a flat button with a grey bold-italic caption to the button row.
    QToolButton *AddButton(const QString &caption, const QString &name);
    /// Puts `content` into the main panel, filling it.
    void SetContent(QWidget *content);
    /// Places the top-left corner at `cell` of `cellOwner` (screen coordinates when null)
    /// and runs the popup modally; returns the dialog result.
    int ShowAt(const QRect &cell, QWidget *cellOwner);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::unique_ptr<TwInDlgPrivate> d;
};
