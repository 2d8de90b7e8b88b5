#include "control/selected_ids.h"

#include "control/qx_mavowin.h"
#include "store/control_error.h"
#include "store/value_text.h"

std::optional<QString> currentSelectorId(QX_MavoWin& control, const QString& kind)
{
    const bool classSide = Surface::isClassKind(kind);
    const int index = control.surface().selector(kind).ListIndex();
    const std::vector<QVariant>& ids = classSide ? control.context().ClassIds : control.context().TeacherIds;
    if (index < 0 || index >= static_cast<int>(ids.size()))
        return std::nullopt;
    return joinText(ids[static_cast<size_t>(index)]);
}

QString requireCurrentSelectorId(QX_MavoWin& control, const QString& kind)
{
    if (auto id = currentSelectorId(control, kind))
        return *id;
    const bool classSide = Surface::isClassKind(kind);
    throw ControlError(QStringLiteral("下标越界：%1 没有当前项（%2）")
                           .arg(classSide ? QStringLiteral("cmbBj") : QStringLiteral("cmbJs"))
                           .arg(control.surface().selector(kind).ListIndex()));
}
