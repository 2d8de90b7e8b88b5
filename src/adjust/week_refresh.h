#pragma once

#include "adjust/edit_command.h"

class QX_MavoWin;

// Shows the chosen class's and teacher's weeks and plan lists afresh from
// the database, as choosing them again does (the analysis colours go). A
// side whose selector has no current entry keeps what it shows.
void ShowCurrentWeeks(QX_MavoWin& control);

// After an undo or redo: the sides that show a class or teacher the edit
// touched are shown afresh, and the cells of its lessons marked as changed.
void ShowEditedWeeks(QX_MavoWin& control, const EditCommand::Touched& touched);
