#include "control/qx_mavowin.h"

#include "adjust/chain_offer.h"
#include "adjust/change_log.h"
#include "adjust/day_periods.h"
#include "adjust/edit_names.h"
#include "adjust/move_analysis.h"
#include "adjust/placement.h"
#include "adjust/removal.h"
#include "adjust/show_lesson.h"
#include "adjust/timetable_change.h"
#include "adjust/week_refresh.h"
#include "control/busy_state.h"
#include "qxmavowin/host_window.h"
#include "control/timetable_watch.h"
#include "grid/build_grids.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/lock_wait_bound.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QTimer>

namespace {

// Waits the given time while the toolkit processes pending events.
void processEventsFor(double seconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 wait = static_cast<qint64>(seconds * 1000.0);
    do {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (clock.elapsed() < wait);
}

// The host window of a late-bound call: a HostWindow pointer, or the host's
// own window object (a QObject that implements HostWindow) as it passes itself.
HostWindow* hostWindowOf(const QVariant& value)
{
    if (value.canConvert<HostWindow*>())
        return value.value<HostWindow*>();
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return dynamic_cast<HostWindow*>(value.value<QObject*>());
    return nullptr;
}

} // namespace

QX_MavoWin::QX_MavoWin()
    : planNames_(std::make_unique<PlanNames>()), chainOffer_(std::make_unique<ChainOffer>()),
      watch_(std::make_unique<TimetableWatch>(*this)), guidSource_(systemGuid), pause_(processEventsFor)
{
    SetDeskName(QSysInfo::machineHostName());
    surface_.cmbJb.onClick = [this] {
        const LockWaitBound bound = boundWaits();
        userAction();
        LevelChosen(*this);
    };
    surface_.cmbNj.onClick = [this] {
        const LockWaitBound bound = boundWaits();
        userAction();
        GradeChosen(*this);
    };
    surface_.cmbBj.onClick = [this] {
        const LockWaitBound bound = boundWaits();
        userAction();
        SideChosen(*this, Side::Class);
    };
    surface_.cmbJs.onClick = [this] {
        const LockWaitBound bound = boundWaits();
        userAction();
        SideChosen(*this, Side::Teacher);
    };
}

QX_MavoWin::~QX_MavoWin() = default;

QString QX_MavoWin::CreateGUID()
{
    if (guidSource_(context_.Guid) != 0)
        return kNullGuid;
    return formatGuid(context_.Guid);
}

QString QX_MavoWin::CreateGUIDEx() { return (QStringLiteral("{") + CreateGUID() + QStringLiteral("}")).toLower(); }

QVariant QX_MavoWin::QxIni(const QSqlDatabase& DB_Conn, const QString& S_Xn, const QString& S_Xq,
                           const QString& S_PkName, HostWindow* S_Form, qint16 S_DataType)
{
    // 1. The arguments.
    context_.DataType = S_DataType;
    attach(DB_Conn);
    const LockWaitBound bound = boundWaits();
    context_.SchoolYear = S_Xn;
    context_.Term = S_Xq;
    context_.ScheduleName = S_PkName;

    // What was done on another timetable, or before a new start, is not undone here.
    history_.clear();
    userAction();
    dayPeriods_->forget();
    planNames_->forget();

    // 2-3. The timetable id; a missing timetable keeps the id it had.
    Recordset rs = connection_->open(sql::findTimetable(S_Xn, S_Xq, S_PkName), CursorType::Static, LockType::ReadOnly);
    if (!rs.atEnd())
        context_.XnId = rs.field(QStringLiteral("id"));
    findNoticeChannel();

    // 4. The plan view for the dialect.
    context_.PlanViewSql = sql::planView(context_.DataType, joinText(context_.XnId));

    // 5. The host window.
    if (!S_Form)
        throw ControlError(QStringLiteral("类型不匹配：S_Form 不是宿主窗口"));
    context_.HostForm = S_Form;

    // 6-7. Plan list columns, drag capture armed.
    AddPlanColumns(surface_.lstBj);
    AddPlanColumns(surface_.lstJs);
    context_.CaptureDragSource = true;

    // 8. Period rows of both grids.
    BuildGrids(*this);

    // 9. Levels, classes, teachers.
    FillSelector(*this, QStringLiteral("级别"), QStringLiteral("info_bj"), QStringLiteral(" 1=1 "), surface_.cmbJb,
                 QStringLiteral("级别"));
    FillSelector(*this, QStringLiteral("id,班级"), QStringLiteral("info_bj"), QStringLiteral(" 1=1 "), surface_.cmbBj,
                 QStringLiteral("班级"));
    FillSelector(*this, QStringLiteral("id,简码,姓名"), QStringLiteral("info_js"), QStringLiteral(" 1=1 "),
                 surface_.cmbJs, QStringLiteral("姓名"));

    // From now on, what other desks commit to the timetable is shown as it comes.
    if (liveRefresh_)
        watch_->start();
    return QVariant();
}

void QX_MavoWin::findNoticeChannel()
{
    noticeChannel_.clear();
    if (connection_->engine() != Engine::PostgreSQL || context_.XnId.isNull())
        return;
    Recordset rs = connection_->check(sql::timetableSchema());
    noticeChannel_ = ::noticeChannel(rs.atEnd() ? QString() : joinText(rs.field(0)), joinText(context_.XnId));
}

void QX_MavoWin::SetLiveRefresh(bool on)
{
    liveRefresh_ = on;
    if (!on)
        watch_->pause();
    else if (connection_ && !watch_->watching() && context_.HostForm) // after QxIni
        watch_->resume();
}

void QX_MavoWin::SetDeskName(const QString& name)
{
    // Counted in characters, so that a name is never cut inside one.
    std::u32string kept;
    for (const char32_t c : name.toStdU32String())
        if (QChar::category(c) != QChar::Other_Control && kept.size() < static_cast<size_t>(kDeskNameLength))
            kept += c;
    deskName_ = QString::fromStdU32String(kept);
}

DayPeriods& QX_MavoWin::dayPeriods()
{
    conn(); // throws before there is a connection
    return *dayPeriods_;
}

void QX_MavoWin::userAction()
{
    surface_.statusText.clear();
    EndChainPreview(*this);
}

ChangeLog& QX_MavoWin::changeLog()
{
    conn(); // throws before there is a connection, and with it a change log
    return *changeLog_;
}

bool QX_MavoWin::ShowLesson(const QString& lessonId)
{
    const LockWaitBound bound = boundWaits();
    return ::ShowLesson(*this, lessonId);
}

LockWaitBound QX_MavoWin::boundWaits() { return LockWaitBound(connection_.get()); }

QVariant QX_MavoWin::invoke(int memberId, const QVariantList& args)
{
    auto need = [&](int count) {
        if (args.size() != count)
            throw ControlError(QStringLiteral("参数个数错误：成员 0x%1 需要 %2 个参数")
                                   .arg(memberId, 8, 16, QLatin1Char('0'))
                                   .arg(count));
    };
    switch (memberId) {
    case DispIdCreateGUID: need(0); return CreateGUID();
    case DispIdCreateGUIDEx: need(0); return CreateGUIDEx();
    case DispIdQxIni: {
        need(6);
        if (!args[0].canConvert<QSqlDatabase>())
            throw ControlError(QStringLiteral("类型不匹配：DB_Conn 不是数据库连接"));
        HostWindow* form = hostWindowOf(args[4]);
        if (!form)
            throw ControlError(QStringLiteral("类型不匹配：S_Form 不是宿主窗口"));
        bool ok = false;
        const int dataType = args[5].toInt(&ok);
        if (!ok || dataType < -32768 || dataType > 32767)
            throw ControlError(QStringLiteral("类型不匹配：S_DataType 不是 16 位整数"));
        return QxIni(args[0].value<QSqlDatabase>(), args[1].toString(), args[2].toString(), args[3].toString(), form,
                     static_cast<qint16>(dataType));
    }
    default:
        throw ControlError(
            QStringLiteral("对象不支持该属性或方法（成员 0x%1）").arg(memberId, 8, 16, QLatin1Char('0')));
    }
}

void QX_MavoWin::perform(std::unique_ptr<EditCommand> edit)
{
    edit->redo(*this);
    ++editsWritten_;
    history_.push(std::move(edit));
}

bool QX_MavoWin::step(bool undo)
{
    EditCommand* edit = undo ? history_.nextUndo() : history_.nextRedo();
    if (!edit)
        return false;
    const LockWaitBound bound = boundWaits();
    return runBusy(*this, [&] {
        if (undo)
            undoOrForget(*edit);
        else
            edit->redo(*this);
        ++editsWritten_;
        if (undo)
            history_.stepBack();
        else
            history_.stepForward();
        ShowEditedWeeks(*this, edit->touched());
    });
}

void QX_MavoWin::undoOrForget(EditCommand& edit)
{
    try {
        edit.undo(*this);
    } catch (const ::ConnectionLost&) {
        throw;
    } catch (const ControlError&) {
        // Refused, or rejected by the database (the undone removal's id is
        // taken: by the lesson itself, when the removal is not there).
        if (!edit.undoneAlready(*this))
            throw;
        // A host rolled back the transaction the edit was written in: the
        // timetable is as the undo would leave it, and the entry goes.
        const QString text = edit.text();
        history_.forgetUndo();
        throw EditRefused(QStringLiteral("“%1”没有留在数据库中（宿主撤回了写入它的事务），"
                                         "课表已是撤销后的样子。\n这一步已从撤销列表中移去，课表已按数据库重新显示。")
                              .arg(text));
    }
}

bool QX_MavoWin::Undo()
{
    userAction();
    return step(true);
}

bool QX_MavoWin::Redo()
{
    userAction();
    return step(false);
}

void QX_MavoWin::attach(const QSqlDatabase& db)
{
    auto fresh = std::make_unique<Connection>(db);
    fresh->setSqliteEquivalents(sqliteEquivalents_);
    fresh->setPostgresEquivalents(postgresEquivalents_);
    if (connectionSetup_)
        connectionSetup_(*fresh);
    if (connection_)
        fresh->appendTrace(connection_->takeTrace());
    fresh->setLostHook([this] { connectionLostSeen(); });
    connection_ = std::move(fresh);
    lost_ = false;
    context_.Conn = connection_.get();
    changeLog_ = std::make_unique<ChangeLog>(*connection_);
    dayPeriods_ = std::make_unique<DayPeriods>(*connection_);
    chainOffer_->kept.reset(); // another database, or another session of it
    planNames_->forget();
    noticeChannel_.clear();
}

void QX_MavoWin::noteShown(Side side) { shownMarks_[side == Side::Class ? 0 : 1] = watch_->othersMark(); }

bool QX_MavoWin::othersChangedSinceShown()
{
    const std::optional<qint64> now = watch_->othersMark();
    if (!now || (!shownMarks_[0] && !shownMarks_[1]))
        return true;
    for (const std::optional<qint64>& shown : shownMarks_)
        if (shown && *shown != *now)
            return true;
    return false;
}

void QX_MavoWin::connectionLostSeen()
{
    if (lost_)
        return;
    lost_ = true;
    // Nothing arrives on a dead session; the reconnect subscribes again.
    watch_->stop();
    if (onLost_ && QCoreApplication::instance())
        QTimer::singleShot(0, watch_.get(), [this] {
            if (lost_ && onLost_)
                onLost_();
        });
}

void QX_MavoWin::Reconnect(const QSqlDatabase& db)
{
    attach(db);
    const LockWaitBound bound = boundWaits();
    findNoticeChannel();
    if (liveRefresh_ && context_.HostForm)
        watch_->start();
    // What the screen showed may have changed while the desk was cut off.
    ShowCurrentWeeks(*this);
    context_.CaptureDragSource = true;
    context_.DragSourceCell = nullptr;
}

void QX_MavoWin::setSqliteEquivalents(bool on)
{
    sqliteEquivalents_ = on;
    if (connection_)
        connection_->setSqliteEquivalents(on);
}

void QX_MavoWin::setPostgresEquivalents(bool on)
{
    postgresEquivalents_ = on;
    if (connection_)
        connection_->setPostgresEquivalents(on);
}

Connection& QX_MavoWin::conn()
{
    if (!connection_)
        throw ControlError(QStringLiteral("没有数据库连接：请先调用 QxIni"));
    return *connection_;
}

void QX_MavoWin::pause(double seconds)
{
    if (pause_)
        pause_(seconds);
}

Label& QX_MavoWin::cell(Side side, int weekday, int index)
{
    if (weekday < 1 || weekday > 7)
        throw ProgramError(QStringLiteral("无效的星期：%1").arg(weekday));
    return surface_.grid(side).column(weekday)[index];
}

void QX_MavoWin::cellClick(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    CellClick(*this, side, weekday, index);
}

void QX_MavoWin::cellDragOver(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    CellDragOver(*this, cell(side, weekday, index));
}

void QX_MavoWin::cellDragDrop(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    DropOnCell(*this, cell(side, weekday, index), side);
}

void QX_MavoWin::planItemClick(ListView& list, int row)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    ShowPlanItemHelp(*this, list, row);
}

void QX_MavoWin::txtJmKeyPress(int& keyAscii)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    ShortCodeKeyPress(*this, keyAscii);
}

void QX_MavoWin::txtHelpClick()
{
    userAction();
    HelpClicked(*this);
}

void QX_MavoWin::cmdDelBjClick()
{
    const LockWaitBound bound = boundWaits();
    userAction();
    RemoveAnalysedLesson(*this, Side::Class);
}

void QX_MavoWin::cmdDeljsClick()
{
    const LockWaitBound bound = boundWaits();
    userAction();
    RemoveAnalysedLesson(*this, Side::Teacher);
}

void QX_MavoWin::cmdChainClick()
{
    const LockWaitBound bound = boundWaits();
    surface_.statusText.clear();
    ApplyOfferedChain(*this);
}

void QX_MavoWin::chainEscape() { userAction(); }

void QX_MavoWin::dragStart() { watch_->setDragging(true); }

void QX_MavoWin::dragEnd() { watch_->setDragging(false); }
