#pragma once

#include <QtGlobal>

#if defined(TABRIX_LIBRARY)
#define TABRIX_EXPORT Q_DECL_EXPORT
#else
#define TABRIX_EXPORT Q_DECL_IMPORT
#endif
