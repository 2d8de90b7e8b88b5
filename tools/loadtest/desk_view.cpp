#include "desk_view.h"

#include "state/colors.h"

#include <QJsonArray>

DeskView DeskView::of(const QJsonObject& state)
{
    DeskView view;
    const QJsonArray days = state[u"grids"][u"班级"][u"cells"].toArray();
    for (int d = 0; d < days.size(); ++d) {
        const QJsonArray column = days[d].toArray();
        for (int p = 0; p < column.size(); ++p) {
            const QJsonObject cell = column[p].toObject();
            view.classGrid[{d + 1, p + 1}] = GridCell{cell[u"tag"].toString(), cell[u"back"].toInt()};
        }
    }
    for (const QJsonValue& item : state[u"lists"][u"lstBj"][u"items"].toArray()) {
        const QJsonArray sub = item[u"subItems"].toArray();
        view.classPlan.push_back(
            {item[u"tag"].toString(), sub.size() > 2 ? static_cast<int>(sub[2].toString().toDouble()) : 0});
    }
    view.classPlanSelected = state[u"lists"][u"lstBj"][u"selected"].toInt(-1);
    view.canUndo = state[u"edits"][u"canUndo"].toBool();
    view.canRedo = state[u"edits"][u"canRedo"].toBool();
    for (const QJsonValue& m : state[u"messages"].toArray())
        view.messages << m[u"text"].toString();
    return view;
}

std::vector<DeskView::Cell> DeskView::lessons() const
{
    std::vector<Cell> out;
    for (const auto& [cell, c] : classGrid)
        if (!c.tag.isEmpty())
            out.push_back(cell);
    return out;
}

std::vector<DeskView::Cell> DeskView::targets() const
{
    std::vector<Cell> out;
    for (const auto& [cell, c] : classGrid)
        if (c.back == color::Available || c.back == color::Warned)
            out.push_back(cell);
    return out;
}

std::optional<DeskView::Cell> DeskView::analysed() const
{
    for (const auto& [cell, c] : classGrid)
        if (c.back == color::AnalysedLesson && !c.tag.isEmpty())
            return cell;
    return std::nullopt;
}

std::map<DeskView::Cell, QString> DeskView::changedSince(const DeskView& earlier) const
{
    std::map<Cell, QString> out;
    for (const auto& [cell, c] : classGrid) {
        const auto it = earlier.classGrid.find(cell);
        if (it == earlier.classGrid.end() || it->second.tag != c.tag)
            out[cell] = c.tag;
    }
    return out;
}

bool DeskView::refused() const
{
    for (const QString& m : messages)
        if (m.startsWith(QStringLiteral("另一位用户刚刚修改了课表")))
            return true;
    return false;
}
