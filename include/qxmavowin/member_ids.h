#pragma once

// The member ids of the control's public interface, by which a late-binding
// host calls its members (QxMavoWinWidget::invoke).
namespace qxmavowin::member {
constexpr int CreateGUID = 0x60030000;
constexpr int CreateGUIDEx = 0x60030001;
constexpr int QxIni = 0x60030045;
} // namespace qxmavowin::member
