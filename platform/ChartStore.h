// Inside the chart engine: what a chart handle points to. Only the engine's
// own sources include this.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/ChartEngine.h"

namespace brevimar::chart {

struct ChartData {
    explicit ChartData(QWidget* window);

    static std::uint64_t Key(Prop prop, unsigned index1, unsigned index2);
    const ChartValue* Find(Prop prop, unsigned index1 = 0, unsigned index2 = 0) const;

    QWidget* Window;  // owns this
    int First = 0;
    unsigned Style = 0;
    int Id = 0;
    std::unordered_map<std::uint64_t, ChartValue> Values;
    long SetCalls = 0;
    // One more than the highest point index given a GraphData value.
    int FilledPoints = 0;
    ChartLayout Layout;
};

}  // namespace brevimar::chart
