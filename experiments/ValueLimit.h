// The values a dialog box accepts for one setting: the dialogs bind them and
// the experiments' input readers check them, so that a file cannot hold what
// a user could not type.
#pragma once

#include <charconv>
#include <string>

namespace brevimar {

struct ValueLimit {
    double Low, High;
    bool Holds(double v) const { return v >= Low && v <= High; }  // never a NaN
    int IntLow() const { return static_cast<int>(Low); }
    int IntHigh() const { return static_cast<int>(High); }
};

// The shortest text that reads back as the value: 536870912, 1e+308, 0.1;
// a refused value is named as the file holds it.
inline std::string ShortestNumber(double v)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

}  // namespace brevimar
