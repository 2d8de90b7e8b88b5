#pragma once

#include "qxmavowin/side.h"

#include <QString>
#include <optional>

class ControlState;

// The id kept beside the current entry of cmbBj or cmbJs: an element of ClassIds or TeacherIds. None when the selector
// has no current entry or the array has no element at its index.
std::optional<QString> currentSelectorId(ControlState& state, Side side);

// The same; throws ProgramError (index out of range) when there is none.
QString requireCurrentSelectorId(ControlState& state, Side side);
