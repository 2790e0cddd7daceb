#include "imgbank.h"

#include "pictures.h"

#include <QBuffer>
#include <QByteArray>

#include <map>

extern "C" __attribute__((visibility("default"))) const unsigned char *GET_ASTREAM(int imageNo, int *size)
{
    static std::map<int, QByteArray> streams;
    if (size)
        *size = 0;
    auto found = streams.find(imageNo);
    if (found == streams.end()) {
        const QImage picture = DrawPicture(imageNo);
        if (picture.isNull())
            return nullptr;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        found = streams.emplace(imageNo, std::move(bytes)).first;
    }
    if (size)
        *size = static_cast<int>(found->second.size());
    return reinterpret_cast<const unsigned char *>(found->second.constData());
}
