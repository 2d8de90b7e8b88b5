#pragma once

#include "qxmavowin/side.h"
#include "state/control_array.h"
#include "state/controls.h"

#include <array>
#include <vector>

// One week grid: frames, period headings, separator lines and the seven
// weekday columns of cells (a cell's array name ends in its weekday digit,
// its index is the period - 1).
struct GridSurface {
    Side side = Side::Class;
    Frame outer;                                // Frame1 / frame
    Frame headerBar;                            // Frame2 / Frame4
    Frame corner;                               // Frame5 / Frame6
    Frame headingFrame;                         // element 0 of FraBj / FraJs
    ControlArray<Label> headings;               // Lab / LabJs
    ControlArray<Line> lines;                   // L / LJs
    Frame cellFrame;                            // NFraBj / NFraJs
    std::array<ControlArray<Label>, 7> columns; // weekday 1..7

    ControlArray<Label>& column(int weekday) { return columns.at(static_cast<size_t>(weekday - 1)); }
    int periodRows() const { return columns[0].Count(); }

    void bindTo(ChangeList& changes);
};

// The cells of an offered chain of moves, over both grids until the chain
// is applied or given up: each move's number (from 1, in the chain's order)
// on the cell it leaves and on the cell it goes to.
struct ChainMark {
    Side side = Side::Class;
    int weekday = 0;
    int index = 0;        // the period - 1
    int number = 0;       // the move's number, from 1
    bool arrival = false; // the cell the lesson goes to; false: the cell it leaves
    bool operator==(const ChainMark&) const = default;
};
struct ChainPreview : SurfaceControl {
    const std::vector<ChainMark>& marks() const { return marks_; }
    void setMarks(std::vector<ChainMark> marks)
    {
        if (marks == marks_)
            return;
        marks_ = std::move(marks);
        changed();
    }

private:
    std::vector<ChainMark> marks_;
};

// Every control of the control's window, with its design values. Each
// control reports its changes to the surface's change list.
struct Surface {
    Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    ChangeList& changes() { return changes_; }

    GridSurface classGrid;   // ClassGrid
    GridSurface teacherGrid; // TeacherGrid

    CheckBox chkJs, chkKcBj, chkBj, chkKcJs;
    ComboBox cmbJb, cmbNj, cmbBj, cmbJs;
    TextBox txtJm, txtHelp;
    Frame FrajxjhBj, Frajxjhjs;
    ListView lstBj, lstJs;
    CommandButton cBj, eBj, CJs, eJs;
    CommandButton cmdDelBj, cmdDeljs;

    // One line of text under the grids: why a drop was refused, or what the
    // offered chain of moves would do. The next user action clears it.
    SurfaceControl statusLine;
    Property<QString> statusText{&statusLine};
    // The offered chain's cells, and the button that applies it (执行),
    // shown beside the status line while a chain is offered.
    ChainPreview chainPreview;
    CommandButton cmdChain;

    GridSurface& grid(Side side) { return side == Side::Class ? classGrid : teacherGrid; }
    ListView& planList(Side side) { return side == Side::Class ? lstBj : lstJs; }
    ComboBox& selector(Side side) { return side == Side::Class ? cmbBj : cmbJs; }

    // The grid a cell belongs to, its weekday (the last character of its
    // array's name) and period (Index + 1).
    GridSurface& gridOf(const Label& cell);
    static int weekdayOf(const Label& cell);
    static int periodOf(const Label& cell) { return cell.Index + 1; }

    // Looks a combo box, check box or list up by its control name; null if none.
    ComboBox* comboByName(const QString& name);
    CheckBox* checkByName(const QString& name);
    ListView* listByName(const QString& name);

private:
    ChangeList changes_;
};
