#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QxMavoWinWidget;

// The recent change history of the control's timetable (kcb_log), newest
// first: when, what (edit, undo or redo of a new lesson, move, exchange or
// removal), course, class and teacher, the slots, and who (desk and database
// user). It reads the history again whenever the timetable changes, here or
// at another desk, and always shows exactly the newest rows; a selected entry
// stays selected while it is among them. It can show only the rows of the
// class or the teacher on screen. A double click on an entry chooses the
// entry's class and analyses its lesson when that is still in the timetable.
class HistoryPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 50;
    // What the panel shows: every row, or those of the class or the teacher
    // on screen (the entries of its filter box, in this order).
    enum class Filter { All, ChosenClass, ChosenTeacher };

    HistoryPanel(QxMavoWinWidget& control, QWidget* parent = nullptr);

    // Reads the history again (after QxIni, and on every change).
    void reload();

    QTreeWidget* entries() const { return tree_; }
    void setFilter(Filter filter);
    // What the panel says beside its entries: a missing table, a lesson that is gone.
    QString note() const;

private:
    void entryChosen(QTreeWidgetItem* item);

    QxMavoWinWidget& control_;
    QTreeWidget* tree_;
    QComboBox* filter_;
    QLabel* note_;
};
