#pragma once

#include "qxmavowin/side.h"

#include <QString>
#include <QVariant>
#include <vector>

class ControlState;
class ComboBox;
struct Label;

// Clears a selector and fills it from "select distinct "; the class and
// teacher selectors also refill ClassIds, or TeacherIds and TeacherCodes.
void FillSelector(ControlState& state, const QString& columns, const QString& table, const QString& condition,
                  ComboBox& selector, const QString& orderColumn);

// The entry of a class or teacher selector whose id (ClassIds, TeacherIds)
// is exactly id, among those that have an entry; -1 when none. After a fill
// without rows the array holds one empty placeholder but the selector no
// entry to select.
int selectorIndexOfId(const std::vector<QVariant>& ids, const QString& id, const ComboBox& selector);

// Selects in the given selector the teacher (side Teacher) or class of the
// lesson in the cell, and fills that side's grid. Empty cell: nothing.
void FollowLessonInSelector(ControlState& state, Label& cell, ComboBox& selector, Side side);

// Choice handling of the selectors and the short-code box.
void LevelChosen(ControlState& state); // cmbJb
void GradeChosen(ControlState& state); // cmbNj
// cmbBj or cmbJs: the chosen class's or teacher's week and plan list, the
// grid's colours reset.
void SideChosen(ControlState& state, Side side);
void ShortCodeKeyPress(ControlState& state, int& keyAscii); // txtJm
