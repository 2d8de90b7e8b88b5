#include "ui/cell_accessible.h"

#include "ui/cell_grid.h"
#include "ui/cell_widget.h"
#include "ui/display_text.h"

#include <QAccessibleWidget>

namespace qxui {

namespace {

class CellAccessible : public QAccessibleWidget {
public:
    explicit CellAccessible(CellWidget* cell) : QAccessibleWidget(cell, QAccessible::Cell) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return cell().spokenName();
        case QAccessible::Description: return cell().spokenDescription();
        case QAccessible::Help: return displayText(cell().label().ToolTipText);
        default: return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.focused = cell().grid().showsFocusFrame(cell());
        s.selected = cell().carried();
        return s;
    }

private:
    CellWidget& cell() const { return *static_cast<CellWidget*>(widget()); }
};

} // namespace

QAccessibleInterface* cellAccessibility(const QString&, QObject* object)
{
    if (auto* cell = dynamic_cast<CellWidget*>(object))
        return new CellAccessible(cell);
    return nullptr;
}

} // namespace qxui
