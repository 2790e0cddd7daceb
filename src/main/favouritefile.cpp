#include "main/favouritefile.h"

#include "platform/inifile.h"
#include "platform/programfolder.h"

namespace {

const QString Section = QStringLiteral("UserFavuriteMenu");

bool IsSeparator(QChar c)
{
    return c == QLatin1Char(',') || c.unicode() <= 32;
}

} // namespace

QString FavouriteFilePath()
{
    return Platform::ProgramFolder() + QStringLiteral("Favourite.mnu");
}

QStringList ReadFavourites(const QString &userId, const QString &fileName)
{
    if (userId.trimmed().isEmpty())
        return {};
    const QString value = TIniFile(fileName).ReadString(Section, userId);
    QStringList ids;
    QString item;
    for (const QChar c : value) {
        if (!IsSeparator(c)) {
            item += c;
            continue;
        }
        if (!item.isEmpty())
            ids << item;
        item.clear();
    }
    if (!item.isEmpty())
        ids << item;
    return ids;
}

QString FavouriteValue(const QStringList &progIds)
{
    QString value;
    for (const QString &id : progIds)
        value += id + QLatin1Char(',');
    return value;
}

bool WriteFavourites(const QString &userId, const QStringList &progIds, const QString &fileName)
{
    if (userId.trimmed().isEmpty())
        return false;
    return TIniFile(fileName).WriteString(Section, userId, FavouriteValue(progIds));
}
