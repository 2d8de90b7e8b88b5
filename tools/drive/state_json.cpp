#include "drive/state_json.h"

#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "store/connection.h"
#include "store/value_text.h"

#include <QJsonArray>

namespace {

qint64 colorValue(std::int32_t c) { return static_cast<qint64>(static_cast<std::uint32_t>(c)); }

QJsonValue idValue(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QJsonValue::Null;
    return joinText(v);
}

QJsonArray idArray(const std::vector<QVariant>& ids)
{
    QJsonArray out;
    for (const auto& v : ids)
        out.append(idValue(v));
    return out;
}

QJsonObject cellJson(const Label& c)
{
    return QJsonObject{{"caption", c.Caption.value()},    {"tag", c.Tag.value()},
                       {"back", colorValue(c.BackColor)}, {"fore", colorValue(c.ForeColor)},
                       {"tip", c.ToolTipText.value()},    {"visible", c.Visible.value()},
                       {"left", c.Left.value()},          {"top", c.Top.value()},
                       {"width", c.Width.value()},        {"height", c.Height.value()}};
}

QJsonObject gridJson(GridSurface& g)
{
    QJsonArray columns;
    for (auto& column : g.columns) {
        QJsonArray cells;
        for (int i = 0; i < column.Count(); ++i)
            cells.append(cellJson(column[i]));
        columns.append(cells);
    }
    QJsonArray headings;
    for (int i = 0; i < g.headings.Count(); ++i) {
        const Label& h = g.headings[i];
        headings.append(
            QJsonObject{{"caption", h.Caption.value()}, {"top", h.Top.value()}, {"visible", h.Visible.value()}});
    }
    QJsonArray lines;
    for (int i = 0; i < g.lines.Count(); ++i) {
        const Line& l = g.lines[i];
        lines.append(QJsonObject{{"y1", l.Y1.value()}, {"y2", l.Y2.value()}, {"visible", l.Visible.value()}});
    }
    return QJsonObject{{"cells", columns}, {"headings", headings}, {"lines", lines}};
}

QJsonObject comboJson(const ComboBox& c)
{
    QJsonArray entries;
    for (const auto& e : c.entries())
        entries.append(e);
    return QJsonObject{{"entries", entries}, {"index", c.ListIndex()}, {"text", c.Text()}};
}

QJsonObject listJson(const ListView& l)
{
    QJsonArray columns;
    for (const auto& h : l.ColumnHeaders)
        columns.append(QJsonObject{{"key", h.Key}, {"text", h.Text}});
    QJsonArray items;
    const int subCount = std::max<int>(0, static_cast<int>(l.ColumnHeaders.size()) - 1);
    for (const auto& item : l.ListItems) {
        QJsonArray subs;
        for (int i = 1; i <= subCount; ++i)
            subs.append(item.SubItem(i));
        items.append(QJsonObject{{"text", item.Text.value()},
                                 {"subItems", subs},
                                 {"tag", item.Tag.value()},
                                 {"tip", item.ToolTipText.value()}});
    }
    return QJsonObject{{"columns", columns}, {"items", items}, {"selected", l.SelectedIndex.value()}};
}

QJsonObject tileJson(const CommandButton& b)
{
    return QJsonObject{{"caption", b.Caption.value()}, {"visible", b.Visible.value()}, {"left", b.Left.value()},
                       {"top", b.Top.value()},         {"width", b.Width.value()},     {"height", b.Height.value()}};
}

QJsonValue dragSourceJson(QX_MavoWin& control)
{
    Label* cell = control.context().DragSourceCell;
    if (!cell)
        return QJsonValue::Null;
    Surface& s = control.surface();
    return QJsonObject{{"kind", sideName(s.gridOf(*cell).side)},
                       {"weekday", Surface::weekdayOf(*cell)},
                       {"period", Surface::periodOf(*cell)}};
}

QString opName(TraceEntry::Op op) { return op == TraceEntry::Op::Open ? "open" : "execute"; }

} // namespace

QJsonObject dumpState(QX_MavoWin& control)
{
    Surface& s = control.surface();
    ScheduleContext& ctx = control.context();

    QJsonObject host;
    if (ctx.HostForm)
        host = {{"enabled", ctx.HostForm->Enabled()}, {"mousePointer", ctx.HostForm->MousePointer()}};
    else
        host = {{"enabled", true}, {"mousePointer", 0}};

    QJsonObject context{{"XnId", idValue(control.session().XnId)},
                        {"DataType", ctx.DataType},
                        {"PlanViewSql", ctx.PlanViewSql},
                        {"CaptureDragSource", ctx.CaptureDragSource},
                        {"DragSourceCell", dragSourceJson(control)},
                        {"ClassIds", idArray(ctx.ClassIds)},
                        {"TeacherIds", idArray(ctx.TeacherIds)},
                        {"TeacherCodes", idArray(ctx.TeacherCodes)}};

    QJsonObject checks;
    for (CheckBox* c : {&s.chkJs, &s.chkKcBj, &s.chkBj, &s.chkKcJs})
        checks.insert(c->Name, c->Value.value());

    QJsonArray messages;
    for (const auto& m : control.messages().take())
        messages.append(QJsonObject{{"title", m.title}, {"text", m.text}, {"style", m.style}});

    QJsonArray statements;
    if (control.hasConnection()) {
        for (const auto& e : control.conn().takeTrace()) {
            QJsonObject entry{{"op", opName(e.op)},
                              {"text", e.text},
                              {"cursorType", static_cast<int>(e.cursorType)},
                              {"lockType", static_cast<int>(e.lockType)},
                              {"cursorLocation", static_cast<int>(e.cursorLocation)}};
            if (!e.executed.isEmpty())
                entry.insert("executed", e.executed);
            if (e.check)
                entry.insert("check", true);
            statements.append(entry);
        }
    }

    return QJsonObject{
        {"host", host},
        {"context", context},
        {"grids", QJsonObject{{sideName(Side::Class), gridJson(s.classGrid)},
                              {sideName(Side::Teacher), gridJson(s.teacherGrid)}}},
        {"selectors", QJsonObject{{"cmbJb", comboJson(s.cmbJb)},
                                  {"cmbNj", comboJson(s.cmbNj)},
                                  {"cmbBj", comboJson(s.cmbBj)},
                                  {"cmbJs", comboJson(s.cmbJs)}}},
        {"txtJm", s.txtJm.Text.value()},
        {"checks", checks},
        {"lists", QJsonObject{{"lstBj", listJson(s.lstBj)}, {"lstJs", listJson(s.lstJs)}}},
        {"txtHelp", QJsonObject{{"text", s.txtHelp.Text.value()},
                                {"visible", s.txtHelp.Visible.value()},
                                {"left", s.txtHelp.Left.value()},
                                {"top", s.txtHelp.Top.value()},
                                {"width", s.txtHelp.Width.value()}}},
        {"tiles",
         QJsonObject{
             {"cBj", tileJson(s.cBj)}, {"eBj", tileJson(s.eBj)}, {"CJs", tileJson(s.CJs)}, {"eJs", tileJson(s.eJs)}}},
        {"messages", messages},
        {"status", s.statusText.value()},
        {"edits", QJsonObject{{"canUndo", control.CanUndo()},
                              {"canRedo", control.CanRedo()},
                              {"undoText", control.UndoText()},
                              {"redoText", control.RedoText()}}},
        {"sql", statements},
    };
}
