#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// An error that ends an operation of the control. Its description is what a
// failure path shows to the user (message box text) or what reaches the host.
class ControlError : public std::runtime_error {
public:
    explicit ControlError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {}

    const QString& description() const { return description_; }

private:
    QString description_;
};

// A statement that the database rejected, or a lost connection.
class DbError : public ControlError {
public:
    using ControlError::ControlError;
};

// The session with the database is gone (a server restart, the connection
// closed): nothing more runs until the host opens it again.
class ConnectionLost : public DbError {
public:
    using DbError::DbError;
};

// An edit refused at write time because the timetable differs from what the
// user saw; nothing of it was written. Usually another desk or program
// changed it; when nobody did, the timetable holds lessons the screen does
// not show, which `inTheWay` names as far as the check found them.
class EditRefused : public ControlError {
public:
    using ControlError::ControlError;
    EditRefused(const QString& description, QStringList inTheWay)
        : ControlError(description), inTheWay_(std::move(inTheWay)), differs_(true)
    {}

    // Whether the database differs from the screen (not some other refusal).
    bool differs() const { return differs_; }
    const QStringList& inTheWay() const { return inTheWay_; }

private:
    QStringList inTheWay_;
    bool differs_ = false;
};

// A fault of the program itself rather than of the data or the database: a
// control that does not exist, an index out of range, an operation called
// without what it needs. Its message says so.
class ProgramError : public ControlError {
public:
    using ControlError::ControlError;
};

// The text of any exception, for a message box or the host.
inline QString describe(const std::exception& e)
{
    if (auto* pe = dynamic_cast<const ProgramError*>(&e))
        return QStringLiteral("程序错误：") + pe->description();
    if (auto* ce = dynamic_cast<const ControlError*>(&e))
        return ce->description();
    return QString::fromUtf8(e.what());
}
