#pragma once

#include <QMdiArea>
#include <QPixmap>

/// The frame's client area: the background colour with the suite's artwork centred.
class TMainBackground : public QMdiArea
{
    Q_OBJECT
public:
    explicit TMainBackground(QWidget *parent = nullptr);

    static QColor BackgroundColor();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_artwork;
};
