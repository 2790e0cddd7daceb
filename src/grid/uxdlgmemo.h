#pragma once

// The popup memo dialog: edits a long text cell in a larger box than the cell.

#include "grid/uxindlg.h"

#include <QVariant>

#include <functional>

class QPlainTextEdit;
class TwInDlgMemoPrivate;

class TABRIX_EXPORT TwInDlgMemo : public TwInDlg
{
    Q_OBJECT

public:
    /// The largest text file Load reads.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit TwInDlgMemo(QWidget *parent = nullptr);
    ~TwInDlgMemo() override;

    /// Called with the text when the user accepts.
    void SetOnOk(std::function<void(const QString &)> callback);

    /// Opens the popup at `cell` of `cellOwner` with `value` (a null value gives an empty
    /// box) and runs it modally. The text box takes at most `editLimit` characters (0: no
    /// limit), the most the target cell keeps. Returns the dialog result.
    int ShowDlg(const QRect &cell, QWidget *cellOwner, const QVariant &value, int editLimit = 0);

    QPlainTextEdit *Memo() const;
    int EditLimit() const;
    void SetEditLimit(int limit);

    /// Asks for a text file and loads it into the box: UTF-8 when the bytes are valid UTF-8,
    /// CP949 otherwise. A file over MaxFileSize or a text over the limit is refused with a
    /// message and the box keeps its text.
    void Load();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Ok();

    std::unique_ptr<TwInDlgMemoPrivate> d;
};
