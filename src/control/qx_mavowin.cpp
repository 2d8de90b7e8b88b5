#include "control/qx_mavowin.h"

#include "adjust/chain_offer.h"
#include "adjust/move_analysis.h"
#include "adjust/placement.h"
#include "adjust/plan_item_click.h"
#include "adjust/removal.h"
#include "adjust/show_lesson.h"
#include "adjust/shown_after_change.h"
#include "control/timetable_watch.h"
#include "grid/build_grids.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "qxmavowin/conflict_report.h"
#include "qxmavowin/host_window.h"
#include "state/busy_state.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/day_periods.h"
#include "store/edit_names.h"
#include "store/lock_wait_bound.h"
#include "store/plan_statements.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

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

QX_MavoWin::QX_MavoWin() : chainOffer_(std::make_unique<ChainOffer>()), watch_(std::make_unique<TimetableWatch>(*this))
{
    state_.setPerform([this](std::unique_ptr<EditCommand> edit) { perform(std::move(edit)); });
    state_.setRefreshAfterRefusal([this] { ShowCurrentWeeks(state_); });
    state_.setOthersMark([this] { return watch_->othersMark(); });

    Surface& s = state_.surface();
    auto chosen = [this](std::function<void()> handler) {
        return [this, handler = std::move(handler)] {
            const LockWaitBound bound = boundWaits();
            userAction();
            handler();
        };
    };
    s.cmbJb.onClick = chosen([this] { LevelChosen(state_); });
    s.cmbNj.onClick = chosen([this] { GradeChosen(state_); });
    s.cmbBj.onClick = chosen([this] { SideChosen(state_, Side::Class); });
    s.cmbJs.onClick = chosen([this] { SideChosen(state_, Side::Teacher); });
}

QX_MavoWin::~QX_MavoWin() = default;

QString QX_MavoWin::CreateGUID() { return state_.newGuid(); }

QString QX_MavoWin::CreateGUIDEx() { return state_.newLessonId(); }

QVariant QX_MavoWin::QxIni(const QSqlDatabase& DB_Conn, const QString& S_Xn, const QString& S_Xq,
                           const QString& S_PkName, HostWindow* S_Form, qint16 S_DataType)
{
    ScheduleContext& ctx = state_.context();
    TimetableSession& session = state_.session();
    Surface& s = state_.surface();
    ctx.DataType = S_DataType;
    attach(DB_Conn);
    const LockWaitBound bound = boundWaits();
    ctx.SchoolYear = S_Xn;
    ctx.Term = S_Xq;
    ctx.ScheduleName = S_PkName;

    // What was done on another timetable, or before a new start, is not undone here.
    history_.clear();
    userAction();
    session.dayPeriods().forget();
    session.planNames().forget();

    // A timetable that is not found keeps the id the control had.
    Recordset rs =
        session.conn().open(sql::findTimetable(S_Xn, S_Xq, S_PkName), CursorType::Static, LockType::ReadOnly);
    if (!rs.atEnd())
        session.XnId = rs.field(QStringLiteral("id"));
    session.findNoticeChannel();

    ctx.PlanViewSql = sql::planView(ctx.DataType, joinText(session.XnId));

    if (!S_Form)
        throw ControlError(QStringLiteral("类型不匹配：S_Form 不是宿主窗口"));
    ctx.HostForm = S_Form;

    AddPlanColumns(s.lstBj);
    AddPlanColumns(s.lstJs);
    ctx.CaptureDragSource = true;

    BuildGrids(state_);
    FillSelector(state_, QStringLiteral("级别"), QStringLiteral("info_bj"), QStringLiteral(" 1=1 "), s.cmbJb,
                 QStringLiteral("级别"));
    FillSelector(state_, QStringLiteral("id,班级"), QStringLiteral("info_bj"), QStringLiteral(" 1=1 "), s.cmbBj,
                 QStringLiteral("班级"));
    FillSelector(state_, QStringLiteral("id,简码,姓名"), QStringLiteral("info_js"), QStringLiteral(" 1=1 "), s.cmbJs,
                 QStringLiteral("姓名"));

    // From now on, what other desks commit to the timetable is shown as it comes.
    if (liveRefresh_)
        watch_->start();
    return QVariant();
}

void QX_MavoWin::SetLiveRefresh(bool on)
{
    liveRefresh_ = on;
    if (!on)
        watch_->pause();
    else if (hasConnection() && !watch_->watching() && state_.context().HostForm) // after QxIni
        watch_->resume();
}

void QX_MavoWin::userAction()
{
    state_.surface().statusText.clear();
    EndChainPreview(state_, *chainOffer_);
}

bool QX_MavoWin::ShowLesson(const QString& lessonId)
{
    const LockWaitBound bound = boundWaits();
    bool shown = false;
    runAction(state_, Busy::No, [&] {
        if (const std::optional<LessonRef> lesson = ReadLesson(state_, lessonId))
            shown = ShowLesson(*lesson);
    });
    return shown;
}

bool QX_MavoWin::ShowLesson(const LessonRef& lesson)
{
    const std::optional<GridCell> cell = ChooseLesson(state_, lesson);
    if (!cell)
        return false;
    cellClick(cell->side, cell->weekday, cell->index);
    return true;
}

LockWaitBound QX_MavoWin::boundWaits() { return state_.session().boundWaits(); }

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
    edit->redo(state_.session());
    state_.countWrite();
    history_.push(std::move(edit));
}

bool QX_MavoWin::step(bool undo)
{
    EditCommand* edit = undo ? history_.nextUndo() : history_.nextRedo();
    if (!edit)
        return false;
    const LockWaitBound bound = boundWaits();
    return runBusy(state_, [&] {
        if (undo)
            undoOrForget(*edit);
        else
            edit->redo(state_.session());
        state_.countWrite();
        if (undo)
            history_.stepBack();
        else
            history_.stepForward();
        ShowEditedWeeks(state_, edit->touched());
    });
}

void QX_MavoWin::undoOrForget(EditCommand& edit)
{
    try {
        edit.undo(state_.session());
    } catch (const ::ConnectionLost&) {
        throw;
    } catch (const ControlError&) {
        // Refused, or rejected by the database (the undone removal's id is
        // taken: by the lesson itself, when the removal is not there).
        if (!edit.undoneAlready(state_.session()))
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
    if (Connection* before = state_.session().connection())
        fresh->appendTrace(before->takeTrace());
    fresh->setLostHook([this] { connectionLostSeen(); });
    state_.session().attach(std::move(fresh));
    lost_ = false;
    chainOffer_->kept.reset(); // another database, or another session of it
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
    state_.session().findNoticeChannel();
    if (liveRefresh_ && state_.context().HostForm)
        watch_->start();
    // What the screen showed may have changed while the desk was cut off.
    ShowCurrentWeeks(state_);
    state_.context().armDragCapture();
}

void QX_MavoWin::setSqliteEquivalents(bool on)
{
    sqliteEquivalents_ = on;
    if (hasConnection())
        conn().setSqliteEquivalents(on);
}

void QX_MavoWin::setPostgresEquivalents(bool on)
{
    postgresEquivalents_ = on;
    if (hasConnection())
        conn().setPostgresEquivalents(on);
}

void QX_MavoWin::cellClick(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    CellClick(state_, side, weekday, index);
}

void QX_MavoWin::cellDragOver(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    CellDragOver(state_, cell(side, weekday, index));
}

void QX_MavoWin::cellDragDrop(Side side, int weekday, int index)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    DropOnCell(state_, *chainOffer_, cell(side, weekday, index), side);
}

void QX_MavoWin::planItemClick(ListView& list, int row)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    ShowPlanItemHelp(state_, list, row);
}

void QX_MavoWin::txtJmKeyPress(int& keyAscii)
{
    const LockWaitBound bound = boundWaits();
    userAction();
    ShortCodeKeyPress(state_, keyAscii);
}

void QX_MavoWin::txtHelpClick()
{
    userAction();
    HelpClicked(state_);
}

void QX_MavoWin::cmdDelBjClick()
{
    const LockWaitBound bound = boundWaits();
    userAction();
    RemoveAnalysedLesson(state_, Side::Class);
}

void QX_MavoWin::cmdDeljsClick()
{
    const LockWaitBound bound = boundWaits();
    userAction();
    RemoveAnalysedLesson(state_, Side::Teacher);
}

void QX_MavoWin::cmdChainClick()
{
    const LockWaitBound bound = boundWaits();
    state_.surface().statusText.clear();
    ApplyOfferedChain(state_, *chainOffer_);
}

void QX_MavoWin::chainEscape() { userAction(); }

void QX_MavoWin::dragStart() { watch_->setDragging(true); }

void QX_MavoWin::dragEnd() { watch_->setDragging(false); }
