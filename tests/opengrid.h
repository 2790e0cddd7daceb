#pragma once

#include "grid/tabrix.h"

/// The complete grid with its editor plumbing opened, for tests that drive and inspect the
/// in-place editors (the grid keeps these protected: business code never needs them).
class OpenTabrix : public TTabrix
{
public:
    using TTabrix::TTabrix;
    using TwCustomGrid::ActiveEditor;
    using TwCustomGrid::EditingColumn;
    using TwCustomGrid::EditingRow;
    using TwCustomGrid::EditorChanged;
    using TwCustomGrid::EditorRect;
    using TwCustomGrid::EditorShowing;
    using TwCustomGrid::Extents;
    using TwCustomGrid::GetEditVal;
    using TwCustomGrid::HideEditor;
    using TwCustomGrid::ShowEditor;
    using TwCustomGrid::ShowImageDlg;
    using TwCustomGrid::ShowMemoDlg;
    using TwCustomGrid::UpdateButton;
    using TwCustomGrid::UpdateScrollRange;
    using TTabrix::GetVertRange;

    /// For a grid that a screen made itself: where an editor of the column sits over `row`.
    static QRect EditorRectOf(const TTabrix &grid, TwColumn *column, int row, bool multiLine)
    {
        return (grid.*&OpenTabrix::EditorRect)(column, row, multiLine);
    }
};
