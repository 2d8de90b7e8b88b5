#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// How a recordset is opened. The values are those a host's database library
// uses; they are recorded in the statement trace. SQLite and PostgreSQL need
// nothing beyond a normal read for any of them.
enum class CursorType { Unspecified = -1, Dynamic = 2, Static = 3 };
enum class LockType { Unspecified = -1, ReadOnly = 1, Optimistic = 3 };
enum class CursorLocation { Unspecified = -1, Server = 2, Client = 3 };

// The rows of one read, walked front to back. The first row is current after
// opening; a read without rows is at its end at once. A null stays null.
class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList columns, std::vector<std::vector<QVariant>> rows);

    bool atEnd() const { return row_ >= rows_.size(); }
    void MoveNext();

    // Throws ControlError for an unknown column or when no row is current.
    QVariant field(const QString& column) const;
    QVariant field(int position) const;

    int columnCount() const { return static_cast<int>(columns_.size()); }
    const QStringList& columns() const { return columns_; }
    size_t rowCount() const { return rows_.size(); }

private:
    const std::vector<QVariant>& current() const;

    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
    size_t row_ = 0;
};
