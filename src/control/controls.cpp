#include "control/controls.h"

#include "store/control_error.h"

void ComboBox::Clear()
{
    entries_.clear();
    listIndex_ = -1;
    text_.clear();
}

void ComboBox::AddItem(const QString& text) { entries_.push_back(text); }

const QString& ComboBox::List(int index) const
{
    if (index < 0 || index >= ListCount())
        throw ProgramError(QStringLiteral("无效的列表索引：%1.List(%2)").arg(Name).arg(index));
    return entries_[static_cast<size_t>(index)];
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= ListCount())
        throw ProgramError(QStringLiteral("无效的属性值：%1.ListIndex = %2").arg(Name).arg(index));
    listIndex_ = index;
    text_ = index >= 0 ? entries_[static_cast<size_t>(index)] : QString();
    if (onClick)
        onClick();
}

QString ListItem::SubItem(int i) const
{
    if (i < 1)
        throw ProgramError(QStringLiteral("无效的子项索引：%1").arg(i));
    const auto pos = static_cast<size_t>(i - 1);
    return pos < SubItems.size() ? SubItems[pos] : QString();
}

void ListItem::setSubItem(int i, const QString& text)
{
    if (i < 1)
        throw ProgramError(QStringLiteral("无效的子项索引：%1").arg(i));
    const auto pos = static_cast<size_t>(i - 1);
    if (SubItems.size() <= pos)
        SubItems.resize(pos + 1);
    SubItems[pos] = text;
}

ListItem& ListView::AddItem(const QString& text)
{
    ListItems.push_back(ListItem{text, {}, {}, {}});
    return ListItems.back();
}

void ListView::ClearItems()
{
    ListItems.clear();
    SelectedIndex = -1;
}

ListItem* ListView::SelectedItem()
{
    if (SelectedIndex < 0 || SelectedIndex >= static_cast<int>(ListItems.size()))
        return nullptr;
    return &ListItems[static_cast<size_t>(SelectedIndex)];
}
