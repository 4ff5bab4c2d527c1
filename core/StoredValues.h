// What a parameter dialog's OK or an auxiliary file's read stores into: the
// forces, the battlefield, local and global command, the terrain modifiers,
// the links switch and the move-order marks that follow the move order. Kept
// only while a RUN capture records, whose frames belong to these values as
// they stood.
#pragma once

#include <vector>

namespace brevimar {

class CBrevimarDoc;

class CStoredValues {
public:
    explicit CStoredValues(const CBrevimarDoc& doc);
    // Whether the document holds them still; false when none were kept.
    bool Unchanged(const CBrevimarDoc& doc) const;
    // The document holds them again (nothing happens when none were kept).
    void PutBack(CBrevimarDoc& doc) const;

private:
    std::vector<unsigned char> Bytes;
};

}  // namespace brevimar
