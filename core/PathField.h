// Shortest-path predecessors toward one source cell over the 8-neighbour grid,
// so that agents can steer around impassable terrain with constant-time lookups.
#pragma once

#include <iosfwd>
#include <string>

namespace brevimar {

class Host;

class CPathField {
public:
    // Largest field a battlefield of 150 x 150 needs: 151 x 151 cells.
    static constexpr unsigned MaxExtent = 151;

    CPathField() = default;
    // grid holds terrain types at (maxY + 1) * x + y. A seed other than 1
    // reseeds the C runtime generator that breaks ties between equal distances.
    // A source outside 1..maxX x 1..maxY leaves every cell without predecessor.
    CPathField(const int* grid, int maxX, int maxY, int sourceX, int sourceY, unsigned seed, Host& host);
    CPathField(const CPathField& other) { *this = other; }
    CPathField& operator=(const CPathField& other);
    ~CPathField() { Free(); }

    // Next cell from (x, y) toward the source; (0, 0) outside the field or
    // where there is none. Without a buffer, *px and *py are left untouched.
    void GetPredecessor(int x, int y, int* px, int* py) const;

    // Reads the text body; on bad content the field is left as it was, the
    // reason goes to *error and false is returned.
    bool Read(std::istream& in, std::string* error);

    bool operator==(const CPathField& other) const;

    bool Owned = false;
    unsigned Rows = 0;     // number of x values
    unsigned Columns = 0;  // number of y values
    unsigned CellCount = 0;
    unsigned* Predecessor = nullptr;

private:
    void Free();
    void Build(const int* grid, unsigned source, Host& host);
};

std::ostream& operator<<(std::ostream& out, const CPathField& field);
// Sets failbit on bad content and leaves the field as it was.
std::istream& operator>>(std::istream& in, CPathField& field);

}  // namespace brevimar
