#pragma once

// Internal: the state of a column and of the column collection. Not installed.

#include "grid/columns.h"

#include <memory>
#include <vector>

class TwColumnPrivate
{
public:
    TwColumns *m_collection = nullptr;
    int m_index = -1;
    TwColumnValues m_assigned;
    TwFont m_font;
    TwAlignment m_alignment = taLeftJustify;
    TwImeMode m_imeMode = imDontCare;
    QString m_imeName;
    bool m_autoSize = true;
    TwCharCase m_charCase = ecNormal;
    TColor m_color = clWhite;
    bool m_ctl3D = true;
    TwEditBorderStyle m_editBorder = webSingle;
    bool m_editButton = false;
    bool m_editColor = false;
    QString m_editFormat;
    TwEditStyle m_editStyle = wesDefault;
    bool m_equalBlank = false;
    TwFitStyle m_fitStyle = wfitNone;
    int m_group = -1;
    TwImageLayout m_imageLayout = wimgNone;
    const TwImageList *m_images = nullptr;
    QStringList m_items;
    TwTextLayout m_layout = tlCenter;
    int m_level = 0;
    int m_levelIndex = 0;
    int m_margins[4] = {1, 1, 1, 1};
    int m_maxLength = 0;
    QString m_maxValue;
    QString m_minValue;
    int m_radioColumns = 1;
    bool m_readOnly = false;
    bool m_transparent = false;
    QStringList m_values;
    bool m_visible = true;
    bool m_wordWrap = false;
    int m_colWidth = 64;
    int m_grpWidth = 64;
    int m_savedGrpWidth = 64;
    int m_left = 0;
    int m_right = 0;
    int m_lastVIndex = 0;
    TwDrawInfo m_drawInfo{};
    // Created on first use through the column's factories, so that a derived column's
    // parts are the ones made.
    std::unique_ptr<TwColumnTitle> m_title;
    // The caption the title takes when it is made (a column names itself while it is
    // constructed, before its class can make its own title).
    QString m_firstCaption;
    std::unique_ptr<TwColumnFooter> m_footer;
    std::unique_ptr<TwColumnListOption> m_listOption;
};

class TwGridOwner;

class TwColumnsPrivate
{
public:
    TwCustomGrid *m_grid = nullptr;
    TwGridOwner *m_owner = nullptr;
    std::vector<std::unique_ptr<TwColumn>> m_items;
    std::vector<TwColumn *> m_visible;
    int m_updateCount = 0;
};

