#include "control/selected_ids.h"

#include "control/qx_mavowin.h"
#include "store/control_error.h"
#include "store/value_text.h"

std::optional<QString> currentSelectorId(QX_MavoWin& control, Side side)
{
    const int index = control.surface().selector(side).ListIndex();
    const std::vector<QVariant>& ids = side == Side::Class ? control.context().ClassIds : control.context().TeacherIds;
    if (index < 0 || index >= static_cast<int>(ids.size()))
        return std::nullopt;
    return joinText(ids[static_cast<size_t>(index)]);
}

QString requireCurrentSelectorId(QX_MavoWin& control, Side side)
{
    if (auto id = currentSelectorId(control, side))
        return *id;
    const ComboBox& selector = control.surface().selector(side);
    throw ProgramError(QStringLiteral("下标越界：%1 没有当前项（%2）").arg(selector.Name).arg(selector.ListIndex()));
}
