// The widget's members over the whole timetable; they read the database and
// leave the surface as it is.
#include "check/conflict_check.h"
#include "control/qx_mavowin.h"
#include "export/timetable_export.h"
#include "qxmavowin/qxmavowin_widget.h"
#include "store/timetable_rows.h"

namespace {

PageHeading headingOf(QX_MavoWin& control)
{
    PageHeading heading;
    heading.schoolYear = control.context().SchoolYear;
    heading.term = control.context().Term;
    heading.scheduleName = control.context().ScheduleName;
    return heading;
}

} // namespace

ConflictReport QxMavoWinWidget::checkTimetable() { return ::checkTimetable(control().state()); }

void QxMavoWinWidget::printTimetables(QPagedPaintDevice& printer, const ExportSelection& selection)
{
    printTimetable(control().conn(), control().session().openedTimetableId(), headingOf(control()), printer, selection);
}

int QxMavoWinWidget::exportTimetables(ExportFormat format, const QString& file, const ExportSelection& selection)
{
    return exportTimetable(control().conn(), control().session().openedTimetableId(), headingOf(control()), format,
                           file, selection);
}
