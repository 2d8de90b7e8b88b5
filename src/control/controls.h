#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// The toolkit surface of the control as plain objects. The logic reads and
// writes only these; the widget layer draws them and feeds real events into
// the same handlers. Positions and sizes are in twips.

struct Label {
    QString Name;
    int Index = 0;
    QString Caption;
    QString Tag;
    QString ToolTipText;
    std::int32_t BackColor = 0;
    std::int32_t ForeColor = 0;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
};

struct Line {
    QString Name;
    int Index = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    bool Visible = true;
};

struct Frame {
    QString Name;
    QString Caption;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    std::int32_t BackColor = 0;
};

struct CheckBox {
    QString Name;
    QString Caption;
    int Value = 0; // 1 = ticked
    double Left = 0, Top = 0, Width = 0, Height = 0;
};

struct CommandButton {
    QString Name;
    QString Caption;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    std::int32_t BackColor = 0;
};

// A drop-down list. Entries keep the order of adding; setting ListIndex by
// program runs the choice handling, as a user's choice does.
class ComboBox {
public:
    QString Name;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    std::function<void()> onClick;

    void Clear();
    void AddItem(const QString& text);
    int ListCount() const { return static_cast<int>(entries_.size()); }
    const QString& List(int index) const;
    int ListIndex() const { return listIndex_; }
    void setListIndex(int index);   // runs onClick
    QString Text() const { return text_; }
    void setText(const QString& text) { text_ = text; } // typing into the box
    const std::vector<QString>& entries() const { return entries_; }

private:
    std::vector<QString> entries_;
    int listIndex_ = -1;
    QString text_;
};

struct TextBox {
    QString Name;
    QString Text;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
};

struct ColumnHeader {
    QString Key;
    QString Text;
};

struct ListItem {
    QString Text;
    std::vector<QString> SubItems; // SubItems[i - 1] is sub-item i
    QString Tag;
    QString ToolTipText;

    QString SubItem(int i) const;
    void setSubItem(int i, const QString& text);
};

// A list view in report layout.
struct ListView {
    QString Name;
    double Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<ColumnHeader> ColumnHeaders;
    std::vector<ListItem> ListItems;
    int SelectedIndex = -1; // the selected entry, -1 for none

    void AddColumn(const QString& key, const QString& text) { ColumnHeaders.push_back({key, text}); }
    ListItem& AddItem(const QString& text);
    void ClearItems();
    ListItem* SelectedItem();
};
