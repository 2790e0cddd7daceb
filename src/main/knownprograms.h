#pragma once

#include <QString>

#include <array>

/// The programs the main program can open, in their fixed order: a program's position
/// names its module slot and its close message (1025 plus the position).
extern const std::array<const char *, 108> KnownPrograms;

/// The position of `progId` in KnownPrograms (exact comparison), or -1.
int KnownProgramIndex(const QString &progId);
