#pragma once

#include "qxmavowin/conflict_report.h"

#include <QWidget>
#include <vector>

class QLabel;
class QMenu;
class QMenuBar;
class QTreeWidget;
class QTreeWidgetItem;
class QxMavoWinWidget;

// The test host's list of the timetable's problems, beside the control:
// one branch per kind with its count, under it the entries and under each
// entry the lessons it names. A double click on an entry or a lesson takes
// the user to it through the control (QxMavoWinWidget::showLesson). Hidden
// until the check is run; while it shows, it checks again after every change
// of the timetable (an edit, undo or redo, another desk's change), keeping
// the branches the user opened or closed and the selected entry.
class ConflictsPanel : public QWidget {
    Q_OBJECT

public:
    ConflictsPanel(QxMavoWinWidget& control, QWidget* parent);

    // Checks the timetable again and shows the panel; a failure is shown in
    // a message box and leaves the list as it was.
    void refresh();

    QTreeWidget* list() const { return list_; }

private:
    // The check again after a change; a failure is said in the summary.
    void recheck();
    void fill(const ConflictReport& report);
    void open(QTreeWidgetItem* item);

    QxMavoWinWidget& control_;
    QLabel* summary_;
    QTreeWidget* list_;
    std::vector<LessonRef> lessons_; // behind the items, by their index
    bool recheckQueued_ = false;
};

// The host's 检查 menu: 冲突检查 (F5) runs the check and shows the panel.
QMenu* addCheckMenu(QMenuBar& bar, ConflictsPanel& panel);
