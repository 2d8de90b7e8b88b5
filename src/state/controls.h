#pragma once

#include "state/change_list.h"
#include "state/property.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// The toolkit surface of the control as plain objects. The logic reads and
// writes only these; the widget layer draws them and feeds real events into
// the same handlers. Positions and sizes are in twips. Every property tells
// its control when it really changes (see Property), so the widget layer
// updates exactly the controls an event changed.

struct Label : SurfaceControl {
    QString Name;
    int Index = 0;
    Property<QString> Caption{this};
    Property<QString> Tag{this};
    Property<QString> ToolTipText{this};
    Property<std::int32_t> BackColor{this};
    Property<std::int32_t> ForeColor{this};
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    Property<bool> Visible{this, true};
};

struct Line : SurfaceControl {
    QString Name;
    int Index = 0;
    Property<double> X1{this}, Y1{this}, X2{this}, Y2{this};
    Property<bool> Visible{this, true};
};

struct Frame : SurfaceControl {
    QString Name;
    Property<QString> Caption{this};
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    Property<std::int32_t> BackColor{this};
};

struct CheckBox : SurfaceControl {
    QString Name;
    Property<QString> Caption{this};
    Property<int> Value{this}; // 1 = ticked
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
};

struct CommandButton : SurfaceControl {
    QString Name;
    Property<QString> Caption{this};
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    Property<bool> Visible{this, true};
    Property<std::int32_t> BackColor{this};
};

// A drop-down list. Entries keep the order of adding; setting ListIndex by
// program runs the choice handling, as a user's choice does.
class ComboBox : public SurfaceControl {
public:
    QString Name;
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    std::function<void()> onClick;

    void Clear();
    void AddItem(const QString& text);
    int ListCount() const { return static_cast<int>(entries_.size()); }
    const QString& List(int index) const;
    int ListIndex() const { return listIndex_; }
    void setListIndex(int index); // runs onClick
    QString Text() const { return text_; }
    void setText(const QString& text); // typing into the box
    const std::vector<QString>& entries() const { return entries_; }
    // Grows with every change of the entries (not of the choice), so that a
    // toolkit fills its list again only when the entries changed.
    unsigned entriesRevision() const { return entriesRevision_; }

private:
    std::vector<QString> entries_;
    int listIndex_ = -1;
    QString text_;
    unsigned entriesRevision_ = 0;
};

struct TextBox : SurfaceControl {
    QString Name;
    Property<QString> Text{this};
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    Property<bool> Visible{this, true};
};

struct ColumnHeader {
    QString Key;
    QString Text;
};

struct ListView;

// An entry of a list view; a change of it is a change of its list's rows.
struct ListItem {
    ListItem(ListView* list, const QString& text) : list_(list), Text(this, text) {}

    QString SubItem(int i) const;
    void setSubItem(int i, const QString& text);
    void changed();

private:
    ListView* list_;

public:
    Property<QString, ListItem> Text;
    std::vector<QString> SubItems; // SubItems[i - 1] is sub-item i; written through setSubItem
    Property<QString, ListItem> Tag{this};
    Property<QString, ListItem> ToolTipText{this};
};

// A list view in report layout. Its columns and rows change through
// AddColumn, AddItem, ClearItems and the members of its entries.
struct ListView : SurfaceControl {
    QString Name;
    Property<double> Left{this}, Top{this}, Width{this}, Height{this};
    std::vector<ColumnHeader> ColumnHeaders;
    std::vector<ListItem> ListItems;
    Property<int> SelectedIndex{this, -1}; // the selected entry, -1 for none

    void AddColumn(const QString& key, const QString& text);
    ListItem& AddItem(const QString& text);
    void ClearItems();
    ListItem* SelectedItem();

    // Grows with every change of the columns or rows (not of the selection),
    // so that a toolkit writes its rows again only when they changed.
    unsigned rowsRevision() const { return rowsRevision_; }
    void rowsChanged();

private:
    unsigned rowsRevision_ = 0;
};
