#pragma once

// The control's public surface: a host includes this header only (it brings
// the host-window interface and the value types of its members with it).

#include "qxmavowin/conflict_report.h"
#include "qxmavowin/export_selection.h"
#include "qxmavowin/host_window.h"
#include "qxmavowin/member_ids.h"
#include "qxmavowin/side.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QX_MavoWin;
class QSqlDatabase;
class QAction;
class QComboBox;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QPlainTextEdit;
class QPagedPaintDevice;

// The timetable-adjustment control as a Qt widget. A host places it on one of
// its windows and calls QxIni (directly or late-bound through invoke) with its
// open database and a window that implements HostWindow (see
// WidgetHostWindow). The widget draws the control's surface and passes the
// user's mouse and keyboard actions to the control; the control decides.
//
// Everything the mouse does, the keyboard does (README: keyboard use); cells
// tell assistive tools their weekday, period, caption and state. The surface
// scales to the size the host gives the widget, keeping its proportions, from
// minimumSizeHint (the smallest legible font, 9 px) up; a taller widget gives
// its plan lists more rows. The control's geometry stays in design twips
// (sizeHint is the design size).
class QxMavoWinWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool stateMarks READ stateMarks WRITE setStateMarks)

public:
    // Member ids for invoke, as a late-binding host calls the members.
    static constexpr int DispIdCreateGUID = qxmavowin::member::CreateGUID;
    static constexpr int DispIdCreateGUIDEx = qxmavowin::member::CreateGUIDEx;
    static constexpr int DispIdQxIni = qxmavowin::member::QxIni;

    explicit QxMavoWinWidget(QWidget* parent = nullptr);
    ~QxMavoWinWidget() override;

    // The public members of the control. A failure reaches the host as a
    // std::runtime_error whose what() is its description (UTF-8).
    QVariant QxIni(const QSqlDatabase& DB_Conn, const QString& S_Xn, const QString& S_Xq, const QString& S_PkName,
                   HostWindow* S_Form, qint16 S_DataType);
    QString CreateGUID();
    QString CreateGUIDEx();
    // Calls a public member by its member id, as a late-binding host does.
    QVariant invoke(int memberId, const QVariantList& args);

    // The control behind the widget, for code built with the project's own
    // headers (tests, the test host). A change of its surface made from code
    // shows once the event loop comes round, or at once with syncFromSurface().
    QX_MavoWin& control();
    void syncFromSurface();

    // The whole timetable QxIni opened: its conflicts, the user taken to one
    // of their lessons (its class and teacher chosen, its cell analysed), and
    // its weeks printed on a device the host set up (a QPrinter after its
    // print dialog) or exported to a file (PDF, CSV or HTML); export returns
    // the pages or rows written. Each throws std::runtime_error (no timetable
    // opened, a file that cannot be written).
    ConflictReport checkTimetable();
    bool showLesson(const LessonRef& lesson);
    // Applies chain k (from 0, best first) of those offered for the last
    // drop on a blocked cell, as 执行 applies the best; false when there is
    // no such chain or it did not go through.
    bool applyChain(int k);
    void printTimetables(QPagedPaintDevice& printer, const ExportSelection& selection);
    int exportTimetables(ExportFormat format, const QString& file, const ExportSelection& selection);

    // Undo and redo of the control's edits, for a host's Edit menu or tool
    // bar, with the platform's shortcuts (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z),
    // which work anywhere in the window. Their texts name the edit; each is
    // enabled only when there is something to undo or redo.
    QAction* undoAction() const;
    QAction* redoAction() const;

    // The connection is the host's: when the control finds it lost (a server
    // restart), it emits connectionLost() once; the host opens the database
    // again with the same parameters and calls reconnect(), which prepares
    // the control's statements again, subscribes to other desks' changes
    // again and shows the chosen class and teacher afresh. Throws
    // std::runtime_error when the database fails again at once.
    void reconnect(const QSqlDatabase& db);
    bool isConnectionLost() const;

    // Other desks' changes to the class or teacher on screen show by
    // themselves (on by default); the desk's name in the change history
    // (by default the machine's name).
    void setLiveRefresh(bool on);
    bool liveRefresh() const;
    void setDeskName(const QString& name);
    QString deskName() const;

    // The widget of one grid cell (weekday 1..7, index = period - 1), or null.
    QWidget* cellWidget(Side side, int weekday, int index) const;

    // A small mark beside the colour of each analysed cell, one shape per
    // state (available, warned, blocked, analysed, changed), for users who
    // cannot tell the colours apart. Off by default.
    void setStateMarks(bool on);
    bool stateMarks() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The width the surface fills at the widget's present height; a wider
    // widget leaves the rest empty, which a host may give to something else.
    int usedWidth() const;

signals:
    // A user action ended with an error that the control does not handle
    // itself (the control's own failure paths show a "警告" box instead).
    // The widget shows the error to the user as well; the signal is for
    // hosts that log.
    void unhandledError(const QString& description);
    // The timetable changed: an edit, undo or redo of this control, or a
    // change of another desk's that live refresh saw (control().LiveRefresh()).
    void timetableChanged();
    // The control found its connection lost; see reconnect().
    void connectionLost();
    // Chains of moves were offered for a drop on a blocked cell, or the
    // offer was given up (QX_MavoWin::chainOffer says which).
    void chainsOffered();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A host window for the control over a Qt window: Enabled disables the
// window (and gives the focus back where it was when it is enabled again),
// the hourglass pointer (11) is an application-wide wait cursor.
class WidgetHostWindow : public HostWindow {
public:
    explicit WidgetHostWindow(QWidget* window);
    ~WidgetHostWindow() override;

    void setMousePointer(int pointer) override;
    void setEnabled(bool enabled) override;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focusBeforeBusy_;
    bool cursorOverridden_ = false;
};
