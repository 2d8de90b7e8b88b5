#pragma once

#include <cstdint>

// OLE colour values (0x00BBGGRR) of the grids and what they mean.
namespace color {
constexpr std::int32_t White = 0x00FFFFFF;          // ordinary cell; blocked after an analysis
constexpr std::int32_t Available = 0x00FAE8DC;      // a permitted target of the analysed lesson
constexpr std::int32_t Warned = 0x00FF80FF;         // a forbidden period, no clash
constexpr std::int32_t AnalysedLesson = 0x00BDF00F; // the lesson the analysis was run on
constexpr std::int32_t Changed = 0x00FFC0C0;        // a cell the last drop changed; also tiles, cell frame
constexpr std::int32_t Black = 0x00000000;          // ordinary text
constexpr std::int32_t Related = 0x000000FF;        // red: same teacher / class in the analysed grid
constexpr std::int32_t OtherRelated = 0x00C000C0;   // purple: related lessons in the other grid

// Design colours of the frame work.
constexpr std::int32_t HeaderBar = 0x00FF8080;
constexpr std::int32_t HeadingText = 0x0080FFFF;
constexpr std::int32_t CornerText = 0x00FFFF00;

// System colours, as the toolkit encodes them (resolved when drawn).
constexpr std::int32_t SystemWindowText = static_cast<std::int32_t>(0x80000008u);
constexpr std::int32_t SystemWindowBackground = static_cast<std::int32_t>(0x80000005u);
} // namespace color
