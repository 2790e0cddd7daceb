#pragma once

#include <QtGlobal>

#if defined(TOVEL_PLATFORM_LIBRARY)
#define TOVEL_PLATFORM_EXPORT Q_DECL_EXPORT
#else
#define TOVEL_PLATFORM_EXPORT Q_DECL_IMPORT
#endif
