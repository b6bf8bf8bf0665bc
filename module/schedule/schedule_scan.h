// The schedule's one pass over the drawing for its bars: each entity's list read once, the
// record only of polylines.
#pragma once

#include <vector>

#include "module/entities/xdata.h"
#include "module/rods/obsluga_preta.h"

#include <functional>

// Every bar of the drawing with its record, in the order the drawing lists them; `each`, when
// given, sees every bar with its list as the bar is read (its one reading).
std::vector<rods::BarEntry> ScheduleBars(
    CSDSXDataPret& records,
    const std::function<void(const rods::BarEntry&, const resbuf* list)>& each = nullptr);
