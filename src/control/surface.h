#pragma once

#include "control/control_array.h"
#include "control/controls.h"
#include "qxmavowin/side.h"

#include <array>

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

// Every control of the control's window, with its design values. Each
// control reports its changes to the surface's change list; so does the
// surface itself for its status line.
struct Surface : SurfaceControl {
    Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    ChangeList& changes() { return changes_; }

    // One line under the grids that says what the last user action found
    // (a short code that several teachers share); the next action clears it.
    Property<QString> statusText{this};

    GridSurface classGrid;   // ClassGrid
    GridSurface teacherGrid; // TeacherGrid

    CheckBox chkJs, chkKcBj, chkBj, chkKcJs;
    ComboBox cmbJb, cmbNj, cmbBj, cmbJs;
    TextBox txtJm, txtHelp;
    Frame FrajxjhBj, Frajxjhjs;
    ListView lstBj, lstJs;
    CommandButton cBj, eBj, CJs, eJs;
    CommandButton cmdDelBj, cmdDeljs;

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
