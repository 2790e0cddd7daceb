#pragma once

#include <QImage>

/// The picture of an image number; a null image for numbers the bank does not hold.
QImage DrawPicture(int imageNo);
