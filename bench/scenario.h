#pragma once

#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "gen/school.h"
#include "store/connection.h"

#include <QHash>
#include <QSqlDatabase>
#include <functional>
#include <memory>
#include <vector>

// One user interaction as the benchmark repeats it: what puts the control in
// the state the user would start from, the interaction itself, and what puts
// the database back so that every repetition does the same work.
struct Interaction {
    Interaction(QString name, std::function<void()> setup, std::function<void()> run, std::function<void()> undo)
        : name(std::move(name)), setup(std::move(setup)), run(std::move(run)), undo(std::move(undo))
    {}

    QString name;
    std::function<void()> setup;        // before each run, not timed
    std::function<void()> run;          // the interaction, timed
    std::function<void()> undo;         // after each run, not timed
    std::vector<TraceEntry> statements; // what one run sent, replayed as the floor
    std::vector<bool> inWriteUnit;      // of each statement: sent inside the control's write unit
};

// A control started on one school, the cells it will be clicked on, and its
// interactions. The constructor looks for a class whose week offers every
// interaction (a plan item with hours left and a cell to drop it on, a lesson
// that can be exchanged with another), runs each once to record the
// statements it sends, and throws ControlError when something does not work
// as the user would see it.
class Scenario {
public:
    Scenario(QSqlDatabase db, const gen::School& school, bool equivalents, int dataType);
    ~Scenario();

    std::vector<Interaction>& interactions() { return interactions_; }

    // The floor: the statements of one run sent straight to the database
    // layer, those the control sent in its write unit in one unit too.
    void replay(const Interaction& interaction);

    QX_MavoWin& control() { return *control_; }
    QString describe() const; // the chosen class, cells and lessons

    // The class chosen and its lesson that is clicked (weekday, index).
    int classIndex() const { return classIndex_; }
    int lessonWeekday() const { return lessonCell_.weekday; }
    int lessonIndex() const { return lessonCell_.index; }

private:
    struct Cell {
        int weekday = 0;
        int index = -1;
    };

    void configure(QX_MavoWin& control) const;
    void start(QX_MavoWin& control, HostWindow& host) const;
    void chooseClass() const;
    bool findCells(int classIndex);
    void record(Interaction& interaction);
    void build();

    QSqlDatabase db_;
    const gen::School& school_;
    bool equivalents_;
    int dataType_;
    QHash<QString, const gen::LessonRow*> lessons_;

    HostWindow host_;
    std::unique_ptr<QX_MavoWin> control_;
    std::unique_ptr<QX_MavoWin> fresh_; // the control of one QxIni run
    HostWindow freshHost_;
    Connection bare_; // the floor and the undo statements

    int classIndex_ = -1;
    int teacherIndex_ = -1;
    int planRow_ = -1;
    Cell dropCell_, lessonCell_, exchangeCell_;
    QString newLessonId_;
    const gen::LessonRow* lesson_ = nullptr;    // in lessonCell_
    const gen::LessonRow* exchanged_ = nullptr; // in exchangeCell_

    std::vector<Interaction> interactions_;
};
