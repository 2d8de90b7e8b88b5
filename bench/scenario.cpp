#include "scenario.h"

#include "state/colors.h"
#include "state/tag.h"
#include "store/adjust_statements.h"
#include "store/control_error.h"
#include "store/value_text.h"

#include <optional>

namespace {

constexpr Side kClass = Side::Class;

// Every new lesson of the benchmark gets this id, so that its undo knows it.
int fixedGuid(GuidRecord& guid)
{
    guid = GuidRecord{0x6b627a62u, 0x656eu, 0x6368u, {0x62, 0x65, 0x6e, 0x63, 0x68, 0x00, 0x00, 0x01}};
    return 0;
}

bool accepted(const Label& cell) { return cell.BackColor == color::Available || cell.BackColor == color::Warned; }

} // namespace

Scenario::Scenario(QSqlDatabase db, const gen::School& school, bool equivalents, int dataType)
    : db_(std::move(db)), school_(school), equivalents_(equivalents), dataType_(dataType), bare_(db_)
{
    bare_.setSqliteEquivalents(equivalents_);
    bare_.setPostgresEquivalents(equivalents_);
    for (const gen::LessonRow& lesson : school_.lessons)
        lessons_.insert(lesson.id, &lesson);

    control_ = std::make_unique<QX_MavoWin>();
    configure(*control_);
    start(*control_, host_);

    // Start in the middle of the class list, where a real school's classes
    // are as full as anywhere.
    const int classes = control_->surface().cmbBj.ListCount();
    for (int k = 0; k < classes && classIndex_ < 0; ++k) {
        const int i = (classes / 2 + k) % classes;
        if (findCells(i))
            classIndex_ = i;
    }
    if (classIndex_ < 0)
        throw ControlError(QStringLiteral("no class offers a plan item to drop and a lesson to exchange"));
    newLessonId_ = control_->CreateGUIDEx();
    build();
    for (Interaction& interaction : interactions_)
        record(interaction);
}

Scenario::~Scenario() = default;

void Scenario::configure(QX_MavoWin& control) const
{
    control.setPause([](double) {});
    control.setGuidSource(fixedGuid);
    control.setSqliteEquivalents(equivalents_);
    control.setPostgresEquivalents(equivalents_);
}

void Scenario::start(QX_MavoWin& control, HostWindow& host) const
{
    const gen::TimetableRow& t = school_.timetables.front();
    control.QxIni(db_, t.schoolYear, t.term, t.scheduleName, &host, static_cast<qint16>(dataType_));
}

void Scenario::chooseClass() const { control_->surface().cmbBj.setListIndex(classIndex_); }

// Whether class `classIndex` has a plan item with hours left and a free cell
// it may go to, and a lesson that the analysis lets change places with
// another lesson of the class.
bool Scenario::findCells(int classIndex)
{
    QX_MavoWin& c = *control_;
    Surface& s = c.surface();
    s.cmbBj.setListIndex(classIndex);
    GridSurface& grid = s.classGrid;

    auto findCell = [&](auto&& wanted) -> std::optional<Cell> {
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < grid.column(d).Count(); ++i)
                if (wanted(grid.column(d)[i]))
                    return Cell{d, i};
        return std::nullopt;
    };

    planRow_ = -1;
    for (int row = 0; row < static_cast<int>(s.lstBj.ListItems.size()) && planRow_ < 0; ++row) {
        if (leadingNumber(s.lstBj.ListItems[static_cast<size_t>(row)].SubItem(3)) <= 0)
            continue;
        c.planItemClick(s.lstBj, row);
        if (auto cell = findCell([](const Label& l) { return l.Tag.isEmpty() && accepted(l); })) {
            planRow_ = row;
            dropCell_ = *cell;
        }
    }
    if (planRow_ < 0)
        return false;

    for (int d = 1; d <= 7; ++d) {
        for (int i = 0; i < grid.column(d).Count(); ++i) {
            s.cmbBj.setListIndex(classIndex);
            const QString tag = grid.column(d)[i].Tag;
            if (tag.isEmpty())
                continue;
            c.cellClick(kClass, d, i);
            const auto other = findCell([](const Label& l) { return !l.Tag.isEmpty() && accepted(l); });
            if (!other)
                continue;
            lessonCell_ = Cell{d, i};
            exchangeCell_ = *other;
            lesson_ = lessons_.value(CellTag::idOf(tag));
            exchanged_ = lessons_.value(CellTag::idOf(grid.column(other->weekday)[other->index].Tag));
            teacherIndex_ = s.cmbJs.ListIndex();
            if (lesson_ && exchanged_ && teacherIndex_ >= 0)
                return true;
        }
    }
    return false;
}

void Scenario::build()
{
    QX_MavoWin& c = *control_;
    Surface& s = c.surface();
    auto nothing = [] {};
    auto undoMove = [this] {
        bare_.execute(sql::moveLesson(lesson_->weekday, lesson_->period, lesson_->id));
        bare_.execute(sql::moveLesson(exchanged_->weekday, exchanged_->period, exchanged_->id));
    };

    interactions_ = {
        {"QxIni",
         [this] {
             fresh_ = std::make_unique<QX_MavoWin>();
             configure(*fresh_);
         },
         [this] { start(*fresh_, freshHost_); }, [this] { fresh_.reset(); }},
        {"choose class", nothing, [this] { chooseClass(); }, nothing},
        {"choose teacher", nothing, [this, &s] { s.cmbJs.setListIndex(teacherIndex_); }, nothing},
        {"lesson click", [this] { chooseClass(); },
         [this, &c] { c.cellClick(kClass, lessonCell_.weekday, lessonCell_.index); }, nothing},
        {"plan-item click", [this] { chooseClass(); }, [this, &c, &s] { c.planItemClick(s.lstBj, planRow_); }, nothing},
        {"drop new lesson",
         [this, &c, &s] {
             chooseClass();
             c.planItemClick(s.lstBj, planRow_);
         },
         [this, &c] { c.cellDragDrop(kClass, dropCell_.weekday, dropCell_.index); },
         [this] { bare_.execute(sql::deleteLesson(newLessonId_)); }},
        {"move with exchange",
         [this, &c] {
             chooseClass();
             c.cellClick(kClass, lessonCell_.weekday, lessonCell_.index);
             c.cellDragOver(kClass, lessonCell_.weekday, lessonCell_.index);
         },
         [this, &c] { c.cellDragDrop(kClass, exchangeCell_.weekday, exchangeCell_.index); }, undoMove},
        {"removal",
         [this, &c] {
             chooseClass();
             c.cellClick(kClass, lessonCell_.weekday, lessonCell_.index);
         },
         [&c] { c.cmdDelBjClick(); },
         [this] { bare_.execute(sql::insertLesson(lesson_->id, lesson_->planId, lesson_->weekday, lesson_->period)); }},
    };
}

// One run with the statement trace on: the floor's statements, and a check
// that the interaction did what the user would see.
void Scenario::record(Interaction& interaction)
{
    const bool qxIni = interaction.name == QLatin1String("QxIni");
    Connection& conn = control_->conn();
    interaction.setup();
    std::vector<bool> inUnit;
    auto watch = [&inUnit](Connection& c) {
        c.setTraceEnabled(true);
        c.setFaultHook([&inUnit, &c](const TraceEntry&) { inUnit.push_back(c.inTransaction()); });
    };
    if (qxIni)
        fresh_->setConnectionSetup(watch);
    watch(conn);
    conn.takeTrace();
    control_->messages().take();
    interaction.run();
    interaction.statements = qxIni ? fresh_->conn().takeTrace() : conn.takeTrace();
    interaction.inWriteUnit = std::move(inUnit);
    conn.setTraceEnabled(false);
    conn.setFaultHook({});

    QString problem;
    const std::vector<MessageBoxRecord> boxes = control_->messages().take();
    if (!boxes.empty())
        problem = boxes.front().text;
    int writes = 0;
    for (const TraceEntry& e : interaction.statements)
        writes += e.op == TraceEntry::Op::Execute && !e.check; // the change-log row is not the edit's own
    const int wanted =
        interaction.name == QLatin1String("move with exchange")                                                ? 2
        : interaction.name == QLatin1String("drop new lesson") || interaction.name == QLatin1String("removal") ? 1
                                                                                                               : 0;
    if (problem.isEmpty() && writes != wanted)
        problem = QStringLiteral("%1 writes, %2 expected").arg(writes).arg(wanted);
    if (problem.isEmpty() && interaction.name == QLatin1String("lesson click") &&
        control_->cell(kClass, lessonCell_.weekday, lessonCell_.index).BackColor != color::AnalysedLesson)
        problem = QStringLiteral("the clicked lesson is not marked as analysed");
    interaction.undo();
    if (!problem.isEmpty())
        throw ControlError(interaction.name + QStringLiteral(": ") + problem);
}

void Scenario::replay(const Interaction& interaction)
{
    std::optional<WriteUnit> unit;
    for (size_t i = 0; i < interaction.statements.size(); ++i) {
        const TraceEntry& e = interaction.statements[i];
        if (unit && !interaction.inWriteUnit[i]) {
            unit->commit();
            unit.reset();
        } else if (!unit && interaction.inWriteUnit[i]) {
            unit.emplace(bare_, joinText(control_->session().XnId));
        }
        if (e.op == TraceEntry::Op::Execute)
            bare_.execute(e.text);
        else
            bare_.open(e.text, e.cursorType, e.lockType, e.cursorLocation);
    }
    if (unit)
        unit->commit();
}

QString Scenario::describe() const
{
    const Surface& s = control_->surface();
    return QStringLiteral("class %1 (%2), teacher %3, plan row %4 -> cell %5/%6, lesson %7/%8 <-> %9/%10")
        .arg(classIndex_)
        .arg(s.cmbBj.Text())
        .arg(teacherIndex_)
        .arg(planRow_)
        .arg(dropCell_.weekday)
        .arg(dropCell_.index + 1)
        .arg(lessonCell_.weekday)
        .arg(lessonCell_.index + 1)
        .arg(exchangeCell_.weekday)
        .arg(exchangeCell_.index + 1);
}
