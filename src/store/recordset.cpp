#include "store/recordset.h"

#include "store/control_error.h"

Recordset::Recordset(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows))
{}

void Recordset::MoveNext()
{
    if (atEnd())
        throw ControlError(QStringLiteral("记录集已在末尾，无法移到下一行"));
    ++row_;
}

const std::vector<QVariant>& Recordset::current() const
{
    if (atEnd())
        throw ControlError(QStringLiteral("记录集中没有当前行（已在末尾）"));
    return rows_[row_];
}

QVariant Recordset::field(const QString& column) const
{
    const auto& row = current();
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return row[static_cast<size_t>(i)];
    }
    throw ControlError(QStringLiteral("记录集中没有名为“%1”的列").arg(column));
}

QVariant Recordset::field(int position) const
{
    const auto& row = current();
    if (position < 0 || position >= columns_.size())
        throw ControlError(QStringLiteral("记录集中没有第 %1 列").arg(position));
    return row[static_cast<size_t>(position)];
}
