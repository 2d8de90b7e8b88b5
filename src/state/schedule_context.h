#pragma once

#include "state/guid.h"

#include <QString>
#include <QVariant>
#include <vector>

class HostWindow;
struct Label;

// The state of one control: what QxIni was given and found, the selector
// id arrays and the drag state. No other state exists.
struct ScheduleContext {
    QString SchoolYear;             // 学年
    QString Term;                   // 学期
    QString ScheduleName;           // 排课名称
    HostWindow* HostForm = nullptr; // the host window
    qint16 DataType = 0;            // 0 SQL Server, any other value Access/Jet
    QString PlanViewSql;

    // Parallel to the entries of cmbBj and cmbJs.
    std::vector<QVariant> ClassIds;
    std::vector<QVariant> TeacherIds;
    std::vector<QVariant> TeacherCodes;

    // The text of txtJm at its last Enter: Enter again with the same text
    // goes on to the next teacher who shares that short code.
    QString ShortCodeEntered;

    // The next cell a drag passes over is taken as the drag's source.
    bool CaptureDragSource = false;
    Label* DragSourceCell = nullptr;
    // After every drop, refusal and change shown afresh: no drag is under
    // way, and the next one captures its source.
    void armDragCapture()
    {
        CaptureDragSource = true;
        DragSourceCell = nullptr;
    }

    GuidRecord Guid;
};
