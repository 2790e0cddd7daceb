#pragma once

// The popup picture dialog: shows and replaces the picture of a graphic cell.

#include "grid/uxindlg.h"

#include <QPixmap>

#include <functional>

class QLabel;
class TwInDlgImgPrivate;

class TABRIX_EXPORT TwInDlgImg : public TwInDlg
{
    Q_OBJECT

public:
    explicit TwInDlgImg(QWidget *parent = nullptr);
    ~TwInDlgImg() override;

    /// Called with the picture when the user accepts (an empty one after Clear).
    void SetOnOk(std::function<void(const QPixmap &)> callback);

    /// Opens the popup at `cell` of `cellOwner` with `bitmap` and runs it modally; returns
    /// the dialog result.
    int ShowDlg(const QRect &cell, QWidget *cellOwner, const QPixmap &bitmap);

    QPixmap Picture() const;
    void SetPicture(const QPixmap &picture);
    /// The centred picture.
    QLabel *Image() const;

    /// Asks for a picture file and loads it. A file that cannot be read as a picture is
    /// refused with a message and the picture stays.
    void Load();
    void Clear();

private:
    void Ok();

    std::unique_ptr<TwInDlgImgPrivate> d;
};
