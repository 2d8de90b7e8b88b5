#pragma once

#include "qxmavowin/side.h"

#include <QString>

class ControlState;
class Recordset;
struct ListView;

// Gives a plan list its eight column headers (key and text).
void AddPlanColumns(ListView& list);

// Replaces the list's entries by the plan items that match the condition.
void FillPlanList(ControlState& state, const QString& condition, ListView& list);

// The plan list of a side with the items of one class or teacher.
void FillPlanListOf(ControlState& state, Side side, const QString& ownerId);

// The help text of the current row of a plan-view read.
QString PlanItemHelpText(const Recordset& row);

// A 不排课节 value rendered for the help text; empty for an empty value.
QString ForbiddenPeriodText(const QString& value);
