#pragma once

// Internal: the state of the data-store column and of its footer. Not installed.

#include "grid/memcolumn.h"

class TwMemColumnFooterPrivate
{
public:
    QStringList m_styles;
};

class TwMemColumnPrivate
{
public:
    TwStoreOwner *m_owner = nullptr;
    bool m_calculated = false;
    TwDataType m_dataType = wdtString;
    int m_dataWidth = 16;
    QString m_defaults;
    QString m_displayFormat;
    bool m_required = false;
    TwMemPool m_pool{wdtString, 16};
    TwMemPool m_edit{wdtString, 16};  // the edit buffer: one row laid out like the pool
    TwMemPool m_saved{wdtString, 16}; // its copy taken when editing starts
    bool m_savedValid = false;
};

