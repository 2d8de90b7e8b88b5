#pragma once

// The widgets that draw the control's surface. Each one mirrors plain surface
// objects (control/controls.h) and reports the user's actions to an EventSink;
// none of them decides anything.

#include "control/controls.h"
#include "control/side.h"
#include "ui/twips.h"

#include <QPlainTextEdit>
#include <QPoint>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

struct GridSurface;

namespace qxui {

class CellWidget;
class PlanListWidget;

// Where the widgets send what the user did.
class EventSink {
public:
    virtual ~EventSink() = default;
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

// A frame: its back colour and, when it has a caption, an etched border with
// the caption on its top edge.
class FrameBox : public QWidget {
public:
    explicit FrameBox(QWidget* parent);
    void sync(const Frame& frame, const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    std::int32_t back_ = 0;
};

// The weekday header bar: the corner frame with "星期", "课节" and the
// diagonal, the weekday names and the lines between them. All of it is
// fixed design, so it is drawn rather than built of controls.
class HeaderBar : public QWidget {
public:
    explicit HeaderBar(QWidget* parent);
    void sync(const GridSurface& grid, const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t back_ = 0;
    std::int32_t cornerBack_ = 0;
    QRect corner_;
    TwipScale scale_;
};

// The heading frame: period headings and the separator lines between them.
class HeadingColumn : public QWidget {
public:
    explicit HeadingColumn(QWidget* parent);
    void sync(const GridSurface& grid, const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Heading {
        QString caption;
        QRect rect;
        std::int32_t fore = 0;
        bool visible = true;
        bool operator==(const Heading&) const = default;
    };
    struct Rule {
        QLineF line;
        bool visible = true;
        bool operator==(const Rule&) const = default;
    };
    std::int32_t back_ = 0;
    std::vector<Heading> headings_;
    std::vector<Rule> rules_;
};

// One grid cell: a label with back and text colour, a centred caption of one
// or two lines and a tooltip. A drag source and a drop target.
class CellWidget : public QWidget {
public:
    CellWidget(QWidget* parent, EventSink& sink, Side side, int weekday, int index);

    Side side() const { return side_; }
    int weekday() const { return weekday_; }
    int index() const { return index_; }
    const QString& caption() const { return caption_; }

    void sync(const Label& label, const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    EventSink& sink_;
    Side side_;
    int weekday_;
    int index_;
    QString caption_;
    QString shown_; // caption with CR LF as line breaks
    QString toolTip_;
    std::int32_t back_ = 0;
    std::int32_t fore_ = 0;
    QPoint pressAt_;
    bool leftPressed_ = false;
};

// An animation tile: a raised button face with its caption.
class TileWidget : public QWidget {
public:
    explicit TileWidget(QWidget* parent);
    void sync(const CommandButton& button, const TwipScale& scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    std::int32_t back_ = 0;
};

// A plan list in report layout.
class PlanListWidget : public QTreeWidget {
public:
    PlanListWidget(QWidget* parent, EventSink& sink, ListView& list);

    ListView& list() { return list_; }
    void sync(const TwipScale& scale);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fillItem(QTreeWidgetItem& item, const ListItem& entry) const;

    EventSink& sink_;
    ListView& list_;
    std::vector<ColumnHeader> headers_;
    std::vector<ListItem> items_;
    int selected_ = -2;
    double columnTwips_ = 0;
    QPoint pressAt_;
    int pressRow_ = -1;
    bool dragging_ = false;
};

// The floating help text box; a click on it hides it (through the control).
class HelpBox : public QPlainTextEdit {
public:
    HelpBox(QWidget* parent, EventSink& sink);
    void sync(const TextBox& box, const TwipScale& scale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventSink& sink_;
    QString text_;
};

} // namespace qxui
