#pragma once

#include "qxmavowin/side.h"

#include <QString>

class QX_MavoWin;
class Recordset;
struct ListView;

// Gives a plan list its eight column headers (key and text).
void AddPlanColumns(ListView& list);

// Replaces the list's entries by the plan items that match the condition.
void FillPlanList(QX_MavoWin& control, const QString& condition, ListView& list);

// The plan list of a side with the items of one class or teacher.
void FillPlanListOf(QX_MavoWin& control, Side side, const QString& ownerId);

// The help text of the current row of a plan-view read.
QString PlanItemHelpText(const Recordset& row);

// A 不排课节 value rendered for the help text; empty for an empty value.
QString ForbiddenPeriodText(const QString& value);

// Item click on lstBj or lstJs: shows txtHelp and runs the move analysis.
void ShowPlanItemHelp(QX_MavoWin& control, ListView& list, int clickedRow);

// The move analysis of the selected entry of a side's plan list: where a
// new lesson of it may go in that side's grid. Nothing without a selection.
void AnalysePlanItem(QX_MavoWin& control, Side side);

// Click on txtHelp: hides it.
void HelpClicked(QX_MavoWin& control);
