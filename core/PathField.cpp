#include "core/PathField.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <vector>

#include "core/Host.h"

namespace brevimar {

namespace {

constexpr float Unreached = std::numeric_limits<float>::max();
// The single-precision float nearest 1/32767, which scales rand() into [0, 1].
constexpr float RandScale = 3.0518509e-5f;

bool ReadUnsigned(std::istream& in, unsigned long long* value)
{
    std::string word;
    if (!(in >> word) || word.empty() || word.size() > 19)
        return false;
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    *value = std::stoull(word);
    return true;
}

}  // namespace

CPathField::CPathField(const int* grid, int maxX, int maxY, int sourceX, int sourceY, unsigned seed, Host& host)
{
    if (maxX < 0 || maxY < 0 || maxX >= static_cast<int>(MaxExtent) || maxY >= static_cast<int>(MaxExtent))
        return;
    Rows = static_cast<unsigned>(maxX) + 1;
    Columns = static_cast<unsigned>(maxY) + 1;
    CellCount = Rows * Columns;
    Predecessor = new unsigned[CellCount]();
    Owned = true;
    if (seed != 1)
        host.Srand(seed);
    // A source off the field is never turned into an index.
    if (sourceX < 1 || sourceY < 1 || sourceX > maxX || sourceY > maxY)
        return;
    Build(grid, Columns * static_cast<unsigned>(sourceX) + static_cast<unsigned>(sourceY), host);
}

void CPathField::Build(const int* grid, unsigned source, Host& host)
{
    std::vector<float> dist(CellCount, Unreached);
    // The open list keeps the order that removals by overwriting with the last
    // entry leave; ties between equal distances are broken by position in it.
    std::vector<unsigned> open(CellCount);
    std::vector<unsigned> positionOf(CellCount);
    for (unsigned i = 0; i < CellCount; ++i)
        open[i] = positionOf[i] = i;
    std::vector<unsigned> ties;
    ties.reserve(CellCount);
    const float diagonal = static_cast<float>(std::sqrt(2.0));

    unsigned current = source;
    dist[current] = 0.0f;
    for (unsigned round = 0; round < CellCount; ++round) {
        const unsigned r = current / Columns;
        const unsigned k = current % Columns;
        if (r != 0 && k != 0) {
            for (unsigned nr = r - 1; nr <= r + 1; ++nr) {
                if (nr == 0 || nr >= Rows)
                    continue;
                for (unsigned nk = k - 1; nk <= k + 1; ++nk) {
                    if (nk == 0 || nk >= Columns || (nr == r && nk == k))
                        continue;
                    const unsigned neighbour = nr * Columns + nk;
                    const int terrain = grid[neighbour];
                    if (terrain == 1 || terrain == 2)
                        continue;
                    const float step = (nr == r || nk == k) ? 1.0f : diagonal;
                    const double sum = static_cast<double>(step) + static_cast<double>(dist[current]);
                    if (sum < dist[neighbour]) {
                        dist[neighbour] = static_cast<float>(sum);
                        Predecessor[neighbour] = current;
                    }
                }
            }
        }

        const unsigned at = positionOf[current];
        const unsigned last = open.back();
        open[at] = last;
        positionOf[last] = at;
        open.pop_back();
        if (open.empty())
            break;

        float best = Unreached;
        ties.clear();
        for (unsigned cell : open) {
            const float d = dist[cell];
            if (d < best) {
                best = d;
                ties.clear();
                ties.push_back(cell);
            } else if (d == best) {
                ties.push_back(cell);
            }
        }
        if (ties.size() == 1) {
            current = ties[0];
        } else {
            const long double scaled =
                static_cast<long double>(host.Rand()) * static_cast<long double>(RandScale) * ties.size();
            const size_t pick = std::min(static_cast<size_t>(scaled), ties.size() - 1);
            current = ties[pick];
        }
    }
}

CPathField& CPathField::operator=(const CPathField& other)
{
    if (this == &other)
        return *this;
    if (Owned && (!other.Owned || CellCount != other.CellCount))
        Free();
    // An empty field is copied too: its dimensions are part of what was read.
    Rows = other.Rows;
    Columns = other.Columns;
    if (!other.Owned)
        return *this;
    CellCount = other.CellCount;
    if (!Owned) {
        Predecessor = new unsigned[CellCount];
        Owned = true;
    }
    std::memcpy(Predecessor, other.Predecessor, sizeof(unsigned) * CellCount);
    return *this;
}

void CPathField::Free()
{
    if (Owned)
        delete[] Predecessor;
    Predecessor = nullptr;
    Owned = false;
    CellCount = 0;
}

void CPathField::GetPredecessor(int x, int y, int* px, int* py) const
{
    if (!Owned)
        return;
    if (x >= 1 && y >= 1 && static_cast<unsigned>(x) <= Rows - 1 && static_cast<unsigned>(y) <= Columns - 1) {
        const unsigned p = Predecessor[Columns * static_cast<unsigned>(x) + static_cast<unsigned>(y)];
        *px = static_cast<int>(p / Columns);
        *py = static_cast<int>(p % Columns);
    } else {
        *px = 0;
        *py = 0;
    }
}

bool CPathField::Read(std::istream& in, std::string* error)
{
    unsigned long long rows = 0, columns = 0;
    if (!ReadUnsigned(in, &rows) || !ReadUnsigned(in, &columns)) {
        *error = "the field dimensions are missing or not whole numbers";
        return false;
    }
    if (rows > MaxExtent || columns > MaxExtent) {
        *error = "the field is " + std::to_string(rows) + " x " + std::to_string(columns) +
                 ", larger than the largest battlefield (" + std::to_string(MaxExtent) + " x " +
                 std::to_string(MaxExtent) + ")";
        return false;
    }
    const unsigned count = static_cast<unsigned>(rows * columns);
    if (count == 0) {
        Free();
        Rows = 0;
        Columns = 0;
        return true;
    }
    std::vector<unsigned> entries(count);
    for (unsigned i = 0; i < count; ++i) {
        unsigned long long value = 0;
        if (!ReadUnsigned(in, &value)) {
            *error = "the field ends after " + std::to_string(i) + " of its " + std::to_string(count) + " entries";
            return false;
        }
        if (value >= count) {
            *error = "entry " + std::to_string(i) + " points to cell " + std::to_string(value) +
                     ", outside the field of " + std::to_string(count) + " cells";
            return false;
        }
        entries[i] = static_cast<unsigned>(value);
    }
    if (Owned && CellCount != count)
        Free();
    if (!Owned) {
        Predecessor = new unsigned[count];
        Owned = true;
    }
    Rows = static_cast<unsigned>(rows);
    Columns = static_cast<unsigned>(columns);
    CellCount = count;
    std::copy(entries.begin(), entries.end(), Predecessor);
    return true;
}

bool CPathField::operator==(const CPathField& other) const
{
    if (Owned != other.Owned || Rows != other.Rows || Columns != other.Columns || CellCount != other.CellCount)
        return false;
    return !Owned || std::equal(Predecessor, Predecessor + CellCount, other.Predecessor);
}

std::ostream& operator<<(std::ostream& out, const CPathField& field)
{
    out << field.Rows << ' ' << field.Columns << '\n';
    if (field.Owned)
        for (unsigned i = 0; i < field.CellCount; ++i)
            out << field.Predecessor[i] << '\n';
    return out;
}

std::istream& operator>>(std::istream& in, CPathField& field)
{
    std::string error;
    if (!field.Read(in, &error))
        in.setstate(std::ios::failbit);
    return in;
}

}  // namespace brevimar
