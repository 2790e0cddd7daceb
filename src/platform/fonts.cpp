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
