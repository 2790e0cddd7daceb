#include "main/uimg.h"

#include "imgbank.h"

QPixmap BankImage(int imageNo)
{
    int size = 0;
    const unsigned char *stream = GET_ASTREAM(imageNo, &size);
    QPixmap picture;
    if (stream && size > 0)
        picture.loadFromData(stream, static_cast<uint>(size), "PNG");
    return picture;
}
