#pragma once

#include "state/change_list.h"
#include "store/control_error.h"

#include <QString>
#include <memory>
#include <vector>

// A control array whose elements can be created at run time. A new element
// copies every property of element 0 and starts hidden. Elements never move
// in memory, so a reference to a cell stays valid for the control's life.
// The array itself reports a change when it grows; the new element reports
// its own changes from then on.
template <typename T> class ControlArray : public SurfaceControl {
public:
    ControlArray() = default;
    ControlArray(const QString& name, const T& design) : name_(name)
    {
        auto first = std::make_unique<T>(design);
        first->Name = name;
        first->Index = 0;
        elements_.push_back(std::move(first));
    }

    const QString& name() const { return name_; }
    int Count() const { return static_cast<int>(elements_.size()); }

    T& operator[](int index)
    {
        if (index < 0 || index >= Count())
            throw ProgramError(QStringLiteral("控件数组元素不存在：%1(%2)").arg(name_).arg(index));
        return *elements_[static_cast<size_t>(index)];
    }
    const T& operator[](int index) const { return const_cast<ControlArray&>(*this)[index]; }

    // Creates element index; fails when it exists already.
    T& Load(int index)
    {
        if (index >= 0 && index < Count())
            throw ControlError(QStringLiteral("对象已加载：%1(%2)").arg(name_).arg(index));
        if (index != Count())
            throw ControlError(QStringLiteral("控件数组索引无效：%1(%2)").arg(name_).arg(index));
        changed();
        auto element = std::make_unique<T>(*elements_.front());
        element->Index = index;
        element->Visible = false;
        elements_.push_back(std::move(element));
        return *elements_.back();
    }

    // Binds the array and every element to the change list of a surface.
    void bindTo(ChangeList& changes)
    {
        SurfaceControl::bindTo(changes);
        for (auto& element : elements_)
            element->bindTo(changes);
    }

private:
    QString name_;
    std::vector<std::unique_ptr<T>> elements_;
};
