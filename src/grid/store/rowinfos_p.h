#pragma once

// Internal: the state of the row bytes. Not installed.

#include "grid/rowinfos.h"

class TwRowInfosPrivate
{
public:
    std::function<void()> m_selectionChanged;
    TwByteBuffer m_bytes;
    int m_capacity = 0;
    int m_count = 0;
    int m_selectedCount = 0;
};

