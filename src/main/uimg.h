#pragma once

#include <QPixmap>

/// The picture of an image number from the image bank; a null pixmap when it has none.
QPixmap BankImage(int imageNo);
