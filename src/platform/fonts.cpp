#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace Platform {

void RegisterFontSubstitutions()
{
    const QStringList fixed{QStringLiteral("NanumGothicCoding"), QStringLiteral("monospace")};
    const QStringList proportional{QStringLiteral("NanumGothic"), QStringLiteral("sans-serif")};
    QFont::insertSubstitutions(QStringLiteral("굴림체"), fixed);
    QFont::insertSubstitutions(QStringLiteral("GulimChe"), fixed);
    QFont::insertSubstitutions(QStringLiteral("굴림"), proportional);
    QFont::insertSubstitutions(QStringLiteral("Gulim"), proportional);
}

} // namespace Platform

namespace Platform {

QFont GulimChe(int pixels)
{
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(pixels);
    return font;
}

QFont Gulim(int pixels)
{
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(pixels);
    return font;
}

} // namespace Platform
