#pragma once

#include <QString>
#include <QStringList>

// Favourite.mnu keeps each user's favourite programs on this workstation: an INI file in
// the program folder, section "UserFavuriteMenu", one key per user id whose value lists
// the program ids, each followed by a comma ("J202P,SA30E,").

/// The file in the program folder.
QString FavouriteFilePath();

/// The user's favourite program ids in file order (an id listed twice comes twice). The
/// value is split at commas and blanks; empty items are dropped. A missing file, a user
/// without a key and an empty user id give an empty list.
QStringList ReadFavourites(const QString &userId, const QString &fileName = FavouriteFilePath());

/// Stores `progIds` as the user's favourites (an empty list stores an empty value),
/// keeping every other user's key. Returns false, touching nothing, for an empty user
/// id or when the file cannot be written.
bool WriteFavourites(const QString &userId, const QStringList &progIds,
                     const QString &fileName = FavouriteFilePath());

/// The text `WriteFavourites` stores for `progIds`: each id followed by a comma.
QString FavouriteValue(const QStringList &progIds);
