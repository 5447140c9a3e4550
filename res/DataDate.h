#pragma once

// Month and year whose area codes the shipped data describes.
inline constexpr char kDataMonthYear[] = "October, 2022";
