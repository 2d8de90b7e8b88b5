#include "state/selected_ids.h"

#include "state/control_state.h"
#include "store/control_error.h"
#include "store/value_text.h"

std::optional<QString> currentSelectorId(ControlState& state, Side side)
{
    const int index = state.surface().selector(side).ListIndex();
    const std::vector<QVariant>& ids = side == Side::Class ? state.context().ClassIds : state.context().TeacherIds;
    if (index < 0 || index >= static_cast<int>(ids.size()))
        return std::nullopt;
    return joinText(ids[static_cast<size_t>(index)]);
}

QString requireCurrentSelectorId(ControlState& state, Side side)
{
    if (auto id = currentSelectorId(state, side))
        return *id;
    const ComboBox& selector = state.surface().selector(side);
    throw ProgramError(QStringLiteral("下标越界：%1 没有当前项（%2）").arg(selector.Name).arg(selector.ListIndex()));
}
