#include "common/fixedfield.h"

#include "platform/cp949.h"

#include <QtGlobal>

#include <cstring>

void CopyFixedField(char *field, std::size_t width, const QString &text, std::size_t limit)
{
    Q_ASSERT_X(limit < width, "CopyFixedField", "a field keeps room for its closing zero byte");
    limit = qMin(limit, width - 1);
    const QString trimmed = Platform::TrimBlanks(text);
    if (trimmed.isEmpty())
        return;
    const QByteArray bytes = Platform::ToCp949(trimmed);
    const qsizetype count = Platform::Cp949Fit(bytes, static_cast<qsizetype>(limit));
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(count));
}

QString ReadFixedField(const char *field, std::size_t width)
{
    const void *zero = std::memchr(field, 0, width);
    const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - field) : width;
    return Platform::TrimBlanks(Platform::FromCp949(QByteArrayView(field, static_cast<qsizetype>(length))));
}
