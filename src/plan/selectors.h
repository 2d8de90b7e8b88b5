#pragma once

#include <QString>

class QX_MavoWin;
class ComboBox;
struct Label;

// Clears a selector and fills it from "select distinct "; the class and
// teacher selectors also refill ClassIds, or TeacherIds and TeacherCodes.
void FillSelector(QX_MavoWin& control, const QString& columns, const QString& table,
                  const QString& condition, ComboBox& selector, const QString& orderColumn);

// Selects in the given selector the teacher (kind "教师") or class of the
// lesson in the cell, and fills that grid. Empty cell: nothing.
void FollowLessonInSelector(QX_MavoWin& control, Label& cell, ComboBox& selector, const QString& kind);

// Choice handling of the selectors and the short-code box.
void LevelChosen(QX_MavoWin& control);   // cmbJb
void GradeChosen(QX_MavoWin& control);   // cmbNj
void ClassChosen(QX_MavoWin& control);   // cmbBj
void TeacherChosen(QX_MavoWin& control); // cmbJs
void ShortCodeKeyPress(QX_MavoWin& control, int& keyAscii); // txtJm
