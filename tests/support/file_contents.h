#pragma once

#include <QFile>
#include <gtest/gtest.h>

// A file's bytes; fails the test when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

// Writes bytes as a file's whole content; fails the test when it cannot.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}
