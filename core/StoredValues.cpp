#include "core/StoredValues.h"

#include <cstring>
#include <type_traits>

#include "core/Document.h"

namespace brevimar {

namespace {

template <class Document, class Visit>
void EachStoredBlock(Document& doc, Visit visit)
{
    visit(doc.RedForce), visit(doc.BlueForce), visit(doc.Battlefield), visit(doc.RedLocal), visit(doc.BlueLocal);
    visit(doc.RedGlobal), visit(doc.BlueGlobal), visit(doc.TerrainModifiers), visit(doc.CommMatricesSet);
    visit(doc.RunHeader.RandomMoveOrderSelected), visit(doc.RunHeader.FixedMoveOrderSelected);
}

std::vector<unsigned char> StoredBytes(const CBrevimarDoc& doc)
{
    std::vector<unsigned char> bytes;
    EachStoredBlock(doc, [&bytes](const auto& block) {
        static_assert(std::is_trivially_copyable_v<std::remove_cvref_t<decltype(block)>>);
        const auto* first = reinterpret_cast<const unsigned char*>(&block);
        bytes.insert(bytes.end(), first, first + sizeof block);
    });
    return bytes;
}

}  // namespace

CStoredValues::CStoredValues(const CBrevimarDoc& doc)
{
    if (doc.RunCaptureOn == 1)
        Bytes = StoredBytes(doc);
}

bool CStoredValues::Unchanged(const CBrevimarDoc& doc) const { return !Bytes.empty() && Bytes == StoredBytes(doc); }

void CStoredValues::PutBack(CBrevimarDoc& doc) const
{
    if (Bytes.empty())
        return;
    std::size_t at = 0;
    EachStoredBlock(doc, [&](auto& block) {
        std::memcpy(static_cast<void*>(&block), Bytes.data() + at, sizeof block);
        at += sizeof block;
    });
}

}  // namespace brevimar
