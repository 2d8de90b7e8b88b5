#pragma once

#include <QString>

// The two sides of the control: the class (ClassGrid, lstBj, cmbBj) and the
// teacher (TeacherGrid, lstJs, cmbJs).
enum class Side { Class, Teacher };

inline Side otherSide(Side side) { return side == Side::Class ? Side::Teacher : Side::Class; }

// A side as the surface names it: "班级" or "教师".
inline QString sideName(Side side) { return side == Side::Class ? QStringLiteral("班级") : QStringLiteral("教师"); }

// A grid kind given as text: "班级" is the class side and any other text the
// teacher side, as the control has always read it.
inline Side sideOfKind(const QString& kind) { return kind == QStringLiteral("班级") ? Side::Class : Side::Teacher; }
