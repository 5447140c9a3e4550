#pragma once

// Month and year whose area codes the shipped data describes.
inline constexpr char kDataMonthYear[] = "March, 2026";
