#pragma once

#include "support/temp_db.h"
#include "ui/qxmavowin_widget.h"

#include <QColor>
#include <QComboBox>
#include <QTreeWidget>
#include <QWidget>
#include <memory>

class Connection;

// The sample school of data/school.sql loaded into a fresh SQLite file.
void loadSchool(TestDatabase& db);
QString schoolScriptPath();

// A host window holding the control, started on the school's timetable
// ("2005-2006", term "2", "课表", eight periods a day).
class SchoolWindow : public QWidget, public WidgetHostWindow {
public:
    // setup runs on the control's connection before QxIni (fault hooks).
    explicit SchoolWindow(std::function<void(Connection&)> setup = {});
    ~SchoolWindow() override;

    TempDb db;
    QxMavoWinWidget* C = nullptr;

    QWidget* cell(const QString& kind, int weekday, int period) const;
    QComboBox* combo(const char* name) const;
    QTreeWidget* list(const char* name) const;
    template <typename T>
    T* child(const char* name) const { return C->findChild<T*>(QString::fromLatin1(name)); }

    // What the user sees: the colour of a cell's background (a corner pixel)
    // and whether a widget shows any pixel close to black (text).
    static QColor shownBackColor(QWidget* widget);
    static bool showsDarkPixels(QWidget* widget);

    // A choice of the user in a selector: keyboard steps on the closed box.
    void chooseByKeys(const char* comboName, const QString& entry);
};

// Answers every message box that comes up while it lives and remembers the
// first one and what the host window looked like meanwhile.
class BoxWatcher {
public:
    explicit BoxWatcher(SchoolWindow& window);
    ~BoxWatcher();

    int boxes = 0;
    QString title, text;
    int icon = 0; // QMessageBox::Icon
    bool hostEnabledMeanwhile = true;
    bool boxEnabled = false;
    int pointerMeanwhile = -1;

private:
    std::unique_ptr<QObject> timer_;
};

// A drag inside the control, as the toolkit delivers it: enter and move on
// the cell where it began, leave, enter and move on the target, drop.
void dragCellToCell(QWidget* from, QWidget* to);
// A drag from a plan list arrives at the target cell only.
void dragOntoCell(QWidget* to);

// OLE colours as the screen shows them.
QColor screenColor(std::uint32_t ole);
