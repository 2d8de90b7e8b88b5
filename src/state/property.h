#pragma once

#include "state/change_list.h"

#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>

template <typename T, typename Owner> class Property;

template <typename U> inline constexpr bool kIsProperty = false;
template <typename T, typename Owner> inline constexpr bool kIsProperty<Property<T, Owner>> = true;

// A property of a surface control. It reads as its value, and an assignment
// of a different value tells its control (Owner::changed), so that the
// toolkit layer learns which controls an event changed without keeping
// copies of them. An assignment of the same value costs one comparison.
//
// A property finds its control by its distance from it rather than by a
// pointer: a control is copied as a whole (a control array's new element is
// a copy of element 0), and the distance stays right in the copy where a
// pointer would still name the original. So a property lives only inside
// its control and is never copied out of it on its own:
// `auto tag = cell.Tag;` does not compile; `QString tag = cell.Tag;` does.
template <typename T, typename Owner = SurfaceControl> class Property {
public:
    explicit Property(Owner* owner, T value = T()) : value_(std::move(value)), offset_(distanceFrom(owner)) {}
    explicit Property(const Property&) = default;
    // A move copies: a value taken silently from a property would change a
    // control without telling it (std::swap moves through a temporary).
    Property(Property&& other) : value_(other.value_), offset_(other.offset_) {}

    Property& operator=(const Property& other) { return *this = other.value_; }
    Property& operator=(Property&& other) { return *this = other.value_; }
    Property& operator=(const T& value)
    {
        if (!(value_ == value)) {
            value_ = value;
            owner().changed();
        }
        return *this;
    }
    Property& operator=(T&& value)
    {
        if (!(value_ == value)) {
            value_ = std::move(value);
            owner().changed();
        }
        return *this;
    }
    template <typename U> Property& operator+=(const U& more) { return *this = T(value_ + more); }
    void clear() { *this = T(); }

    operator const T&() const { return value_; }
    const T& value() const { return value_; }

    // The reading members of text the code uses on properties; anything else
    // through value().
    bool isEmpty() const { return value_.isEmpty(); }
    auto size() const { return value_.size(); }
    template <typename... A> bool contains(A&&... a) const { return value_.contains(std::forward<A>(a)...); }
    template <typename... A> bool startsWith(A&&... a) const { return value_.startsWith(std::forward<A>(a)...); }
    template <typename... A> bool endsWith(A&&... a) const { return value_.endsWith(std::forward<A>(a)...); }
    template <typename... A> T section(A&&... a) const { return value_.section(std::forward<A>(a)...); }
    template <typename... A> auto split(A&&... a) const { return value_.split(std::forward<A>(a)...); }
    template <typename... A> T left(A&&... a) const { return value_.left(std::forward<A>(a)...); }
    template <typename... A> T mid(A&&... a) const { return value_.mid(std::forward<A>(a)...); }
    T trimmed() const { return value_.trimmed(); }
    T toUpper() const { return value_.toUpper(); }

    friend bool operator==(const Property& a, const Property& b) { return a.value_ == b.value_; }
    template <typename U>
    requires(!kIsProperty<U> && requires(const T& t, const U& u) { t == u; }) friend bool operator==(const Property& a,
                                                                                                     const U& b)
    {
        return a.value_ == b;
    }

private:
    std::uint32_t distanceFrom(const Owner* owner) const
    {
        const auto self = reinterpret_cast<std::uintptr_t>(this);
        const auto start = reinterpret_cast<std::uintptr_t>(owner);
        assert(self >= start && self - start < (1u << 16));
        return static_cast<std::uint32_t>(self - start);
    }
    Owner& owner() { return *reinterpret_cast<Owner*>(reinterpret_cast<std::uintptr_t>(this) - offset_); }

    T value_;
    std::uint32_t offset_;
};
