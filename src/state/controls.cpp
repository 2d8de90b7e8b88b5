#include "state/controls.h"

#include "store/control_error.h"

void ComboBox::Clear()
{
    if (entries_.empty() && listIndex_ == -1 && text_.isEmpty())
        return;
    entries_.clear();
    listIndex_ = -1;
    text_.clear();
    ++entriesRevision_;
    changed();
}

void ComboBox::AddItem(const QString& text)
{
    entries_.push_back(text);
    ++entriesRevision_;
    changed();
}

void ComboBox::setText(const QString& text)
{
    if (text_ == text)
        return;
    text_ = text;
    changed();
}

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
    QString text = index >= 0 ? entries_[static_cast<size_t>(index)] : QString();
    if (listIndex_ != index || text_ != text) {
        listIndex_ = index;
        text_ = std::move(text);
        changed();
    }
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
    if (SubItems[pos] == text)
        return;
    SubItems[pos] = text;
    changed();
}

void ListItem::changed()
{
    if (list_)
        list_->rowsChanged();
}

void ListView::AddColumn(const QString& key, const QString& text)
{
    ColumnHeaders.push_back({key, text});
    rowsChanged();
}

ListItem& ListView::AddItem(const QString& text)
{
    ListItems.emplace_back(this, text);
    rowsChanged();
    return ListItems.back();
}

void ListView::ClearItems()
{
    if (!ListItems.empty()) {
        ListItems.clear();
        rowsChanged();
    }
    SelectedIndex = -1;
}

void ListView::rowsChanged()
{
    ++rowsRevision_;
    changed();
}

ListItem* ListView::SelectedItem()
{
    if (SelectedIndex < 0 || SelectedIndex >= static_cast<int>(ListItems.size()))
        return nullptr;
    return &ListItems[static_cast<size_t>(SelectedIndex)];
}
