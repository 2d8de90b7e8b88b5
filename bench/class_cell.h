#pragma once

#include "control/qx_mavowin.h"
#include "state/surface.h"

// The first cell of the class grid that satisfies `wanted`, as (weekday, index).
template <typename Wanted> bool findCell(QX_MavoWin& control, Wanted wanted, int& weekday, int& index)
{
    GridSurface& grid = control.surface().classGrid;
    for (int d = 1; d <= 7; ++d)
        for (int i = 0; i < grid.column(d).Count(); ++i)
            if (wanted(grid.column(d)[i])) {
                weekday = d;
                index = i;
                return true;
            }
    return false;
}
