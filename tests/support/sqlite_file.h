#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

// Runs work on a connection of its own to the SQLite file at path, and lets
// the connection go again.
inline void onSqliteFile(const QString& path, const std::function<void(QSqlDatabase&)>& work)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "sqlite-file");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open()) << path.toStdString();
        work(db);
    }
    QSqlDatabase::removeDatabase("sqlite-file");
}
