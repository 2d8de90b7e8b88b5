#pragma once

// The widgets that draw the control's surface. Each one draws its surface
// objects (state/controls.h) straight from them, is told by refresh() that
// they changed, and reports the user's actions to an EventSink; none of them
// decides anything.

#include "state/controls.h"
#include "qxmavowin/side.h"
#include "ui/cell_state.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QPoint>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <vector>

struct GridSurface;

namespace qxui {

class CellGrid;
class CellWidget;
class PlanListWidget;

// The keys of a grid that stand for what the mouse does, pressed on its
// focus cell.
enum class CellKey {
    Analyse, // Space, the menu key, Shift+F10: the right click
    Enter,   // picks the cell's lesson up, or drops what is carried there
    Escape,  // puts what is carried down without a change
    Delete,  // the grid's 删除 button
};

// Where the widgets send what the user did.
class EventSink {
public:
    virtual ~EventSink() = default;
    // False when the key means nothing now (an Escape with nothing carried).
    virtual bool cellKeyPressed(CellWidget& cell, CellKey key) = 0;
    virtual void planItemEntered(PlanListWidget& list, int row) = 0;
    virtual void cellRightClicked(const CellWidget& cell) = 0;
    virtual void cellDragStarted(CellWidget& cell) = 0;
    virtual void cellDragEntered(const CellWidget& cell) = 0;
    virtual void cellDropped(const CellWidget& cell) = 0;
    virtual void planItemPressed(PlanListWidget& list, int row) = 0;
    virtual void planItemClicked(PlanListWidget& list, int row) = 0;
    virtual void planDragStarted(PlanListWidget& list, int row) = 0;
    virtual void helpClicked() = 0;
};

// The MIME type of a drag inside the control. The payload is not read: the
// control judges a drop by its own drag state, not by what was dragged.
inline const QString kDragMimeType = QStringLiteral("application/x-qxmavowin-drag");

// Moves and shows or hides a widget only when the surface says something new.
void placeWidget(QWidget& widget, const QRect& rect);
void showWidget(QWidget& widget, bool visible);

// A caption with CR LF (or CR) as line breaks.
QString displayText(const QString& caption);

// A frame: its back colour and, when it has a caption, an etched border with
// the caption on its top edge.
class FrameBox : public QWidget {
public:
    FrameBox(QWidget* parent, const Frame& frame);
    void refresh(const TwipScale& scale);
    // Height beyond the design's, in twips: the room a tall window has to
    // spare below the grids goes to the plan lists.
    void setExtraHeight(double twips) { extraHeight_ = twips; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Frame& frame_;
    double extraHeight_ = 0;
};

// The weekday header bar: the corner frame with "星期", "课节" and the
// diagonal, the weekday names and the lines between them. All of it is
// fixed design, so it is drawn rather than built of controls.
class HeaderBar : public QWidget {
public:
    HeaderBar(QWidget* parent, const GridSurface& grid);
    void refresh(const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const GridSurface& grid_;
    TwipScale scale_;
};

// The heading frame: period headings and the separator lines between them.
class HeadingColumn : public QWidget {
public:
    HeadingColumn(QWidget* parent, const GridSurface& grid);
    void refresh(const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const GridSurface& grid_;
    TwipScale scale_;
};

// The frame that holds a grid's cells and one stop of the focus chain. The
// arrow keys move its focus cell, a clear frame over the cell's colours;
// while something is carried, the focus cell is the target and its frame
// says so. Its other keys go to the sink (CellKey).
class CellGrid : public FrameBox {
public:
    CellGrid(QWidget* parent, EventSink& sink, const GridSurface& grid);

    const GridSurface& surface() const { return grid_; }
    void addCell(CellWidget* cell);
    CellWidget* cell(int weekday, int index) const;
    int rows(int weekday) const;

    CellWidget* focusCell() const { return cell(focusWeekday_, focusIndex_); }
    void setFocusCell(int weekday, int index);
    bool showsFocusFrame(const CellWidget& cell) const { return hasFocus() && focusCell() == &cell; }
    bool carrying() const { return carrying_; }
    void setCarrying(bool carrying);

    // Whether the grid shows an analysis: white cells are blocked then.
    bool showsAnalysis() const { return analysisShown_; }
    // Reads it again from the surface; true when it changed.
    bool readAnalysis();
    void updateStates();

    bool marks() const { return marks_; }
    void setMarks(bool on);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateFocusCell();

    EventSink& sink_;
    const GridSurface& grid_;
    std::array<std::vector<CellWidget*>, 7> cells_;
    int focusWeekday_ = 1;
    int focusIndex_ = 0;
    bool carrying_ = false;
    bool analysisShown_ = false;
    bool marks_ = false;
};

// One grid cell: a label with back and text colour, a centred caption of one
// or two lines and a tooltip. A drag source and a drop target. For assistive
// tools it has a name (weekday, period, caption) and a description (its
// state in words).
class CellWidget : public QWidget {
public:
    CellWidget(CellGrid& grid, EventSink& sink, const Label& label, Side side, int weekday, int index);

    const Label& label() const { return label_; }
    CellGrid& grid() const { return grid_; }
    Side side() const { return side_; }
    int weekday() const { return weekday_; }
    int index() const { return index_; }

    void refresh(const TwipScale& scale);
    // Reads the cell's state again; repaints and tells assistive tools when
    // it changed.
    void updateState();
    bool carried() const { return carried_; }
    void setCarried(bool carried);
    // The numbers of an offered chain's moves that arrive at and leave the
    // cell; 0 for none.
    void setChainMoves(int arriving, int leaving);

    QString spokenName() const;
    QString spokenDescription() const;
    // Tells assistive tools of a change (cheap while none listens).
    void announce(QAccessible::Event event);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void paintPresentation(QPainter& painter);

    CellGrid& grid_;
    EventSink& sink_;
    const Label& label_;
    Side side_;
    int weekday_;
    int index_;
    CellState state_ = CellState::Plain;
    bool carried_ = false;
    int chainArriving_ = 0, chainLeaving_ = 0;
    QPoint pressAt_;
    bool leftPressed_ = false;
};

// An animation tile: a raised button face with its caption.
class TileWidget : public QWidget {
public:
    TileWidget(QWidget* parent, const CommandButton& button);
    void refresh(const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CommandButton& button_;
};

// A plan list in report layout.
class PlanListWidget : public QTreeWidget {
public:
    PlanListWidget(QWidget* parent, EventSink& sink, ListView& list);

    ListView& list() { return list_; }
    void refresh(const TwipScale& scale);
    // As FrameBox::setExtraHeight: more rows show in a tall window.
    void setExtraHeight(double twips) { extraHeight_ = twips; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void writeColumns();
    void writeRows();
    void fitColumns();
    void fillItem(QTreeWidgetItem& item, const ListItem& entry) const;

    EventSink& sink_;
    ListView& list_;
    unsigned rowsShown_ = ~0u; // the rows revision the view shows
    double extraHeight_ = 0;
    QPoint pressAt_;
    int pressRow_ = -1;
    bool dragging_ = false;
};

// The floating help text box; a click on it hides it (through the control).
class HelpBox : public QPlainTextEdit {
public:
    HelpBox(QWidget* parent, EventSink& sink, const TextBox& box);
    void refresh(const TwipScale& scale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventSink& sink_;
    const TextBox& box_;
};

} // namespace qxui
