#pragma once
// The queue as (type, first payload word) pairs, to compare what an input
// path queued with what it should have.
#include <utility>
#include <vector>

#include "app/app.h"

using Events = std::vector<std::pair<int32_t, int32_t>>;

inline Events queued(const App& app) {
    Events out;
    for (int i = 0; i < app.eventCount; ++i) out.push_back({app.events[i].type, app.events[i].payload[0]});
    return out;
}
