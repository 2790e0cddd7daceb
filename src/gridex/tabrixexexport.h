#pragma once

#include <QtGlobal>

#if defined(TABRIXEX_LIBRARY)
#define TABRIXEX_EXPORT Q_DECL_EXPORT
#else
#define TABRIXEX_EXPORT Q_DECL_IMPORT
#endif
