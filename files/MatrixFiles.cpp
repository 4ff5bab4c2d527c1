#include "files/MatrixFiles.h"

#include <algorithm>
#include <ostream>

#include "core/Document.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

constexpr int GaCommMatrixSearch = 5;
constexpr int GaSquadMatrixSearch = 3;
constexpr int GaSquadMatrixSearchBoth = 6;
constexpr int BannerWords = 6;  // star line, four title words, star line

struct Banner {
    const char* Stars;
    const char* RedTitle;
    const char* BlueTitle;
};
constexpr Banner CommBanner{"*************************************", "  Red Communications Matrix Weights",
                            " Blue Communications Matrix Weights"};
constexpr Banner SquadBanner{"******************************", "  Red Squad Matrix Weights",
                             "  Blue Squad Matrix Weights"};

template <typename T>
void WriteMatrices(const Banner& banner, const T (&red)[SquadSlots][SquadSlots], const T (&blue)[SquadSlots][SquadSlots],
                   std::ostream& out)
{
    out << banner.Stars << '\n' << banner.RedTitle << '\n' << banner.Stars;
    auto rows = [&](const T (&m)[SquadSlots][SquadSlots]) {
        for (int r = 1; r <= MaxSquads; ++r) {
            out << '\n';
            for (int c = 1; c <= MaxSquads; ++c)
                out << (c > 1 ? " " : "") << m[r][c];
        }
    };
    rows(red);
    out << '\n' << banner.Stars << '\n' << banner.BlueTitle << '\n' << banner.Stars;
    rows(blue);
}

template <typename T>
bool ReadMatrices(std::string_view text, T (*red)[SquadSlots][SquadSlots], T (*blue)[SquadSlots][SquadSlots],
                  std::string* problem)
{
    CWordReader words(text);
    T scratch[2][SquadSlots][SquadSlots];
    std::copy(&(*red)[0][0], &(*red)[0][0] + SquadSlots * SquadSlots, &scratch[0][0][0]);
    std::copy(&(*blue)[0][0], &(*blue)[0][0] + SquadSlots * SquadSlots, &scratch[1][0][0]);
    for (auto& m : scratch) {
        if (!words.Skip(BannerWords)) {
            *problem = DescribeReadFailure(words);
            return false;
        }
        for (int r = 1; r <= MaxSquads; ++r)
            if (!words.ReadEach(&m[r][1], MaxSquads)) {
                *problem = DescribeReadFailure(words);
                return false;
            }
    }
    std::copy(&scratch[0][0][0], &scratch[0][0][0] + SquadSlots * SquadSlots, &(*red)[0][0]);
    std::copy(&scratch[1][0][0], &scratch[1][0][0] + SquadSlots * SquadSlots, &(*blue)[0][0]);
    return true;
}

}  // namespace

const CommRows& RedCommRowsToWrite(const CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    if (doc.RunMode == GeneticAlgorithmMode && ga.SearchMode == GaCommMatrixSearch && ga.CommMatrix)
        return *ga.CommMatrix;
    return doc.RedForce.CommMatrix;
}

const SquadWeightRows& RedSquadRowsToWrite(const CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    if (doc.RunMode == GeneticAlgorithmMode &&
        (ga.SearchMode == GaSquadMatrixSearch || ga.SearchMode == GaSquadMatrixSearchBoth) && ga.SquadMatrix)
        return *ga.SquadMatrix;
    return doc.RedForce.SquadWeightMatrix;
}

void WriteCommMatrixText(const CommRows& red, const CommRows& blue, std::ostream& out)
{
    WriteMatrices(CommBanner, red, blue, out);
}

void WriteSquadMatrixText(const SquadWeightRows& red, const SquadWeightRows& blue, std::ostream& out)
{
    WriteMatrices(SquadBanner, red, blue, out);
}

bool ReadCommMatrixText(std::string_view text, CommRows* red, CommRows* blue, std::string* problem)
{
    return ReadMatrices(text, red, blue, problem);
}

bool ReadSquadMatrixText(std::string_view text, SquadWeightRows* red, SquadWeightRows* blue, std::string* problem)
{
    return ReadMatrices(text, red, blue, problem);
}

void WriteCommMatrixFile(CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    RunAuxiliaryWrite(doc, FileCommand::CommMatrixWrite, [&](std::ostream& out) {
        WriteCommMatrixText(RedCommRowsToWrite(doc, ga), doc.BlueForce.CommMatrix, out);
    });
}

void SaveSquadMatrixFile(CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    RunAuxiliaryWrite(doc, FileCommand::SquadMatrixWrite, [&](std::ostream& out) {
        WriteSquadMatrixText(RedSquadRowsToWrite(doc, ga), doc.BlueForce.SquadWeightMatrix, out);
    });
}

int LoadCommMatrixFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::CommMatrixRead, [&](std::string_view text, std::string* problem) {
        if (!ReadCommMatrixText(text, &doc.RedForce.CommMatrix, &doc.BlueForce.CommMatrix, problem))
            return false;
        // Set-up of a document never set up would otherwise link every squad
        // over the matrices just read.
        doc.CommMatricesSet = 1;
        // Read while a GA or a landscape stands, every link is the file's,
        // also where it equals what the batch wrote.
        for (Side side : {Side::Red, Side::Blue})
            doc.MarkUserValues(&doc.Force(side).CommMatrix, sizeof doc.Force(side).CommMatrix);
        doc.MarkUserValues(&doc.CommMatricesSet, sizeof doc.CommMatricesSet);
        return true;
    });
}

int LoadSquadMatrixFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::SquadMatrixRead, [&](std::string_view text, std::string* problem) {
        if (!ReadSquadMatrixText(text, &doc.RedForce.SquadWeightMatrix, &doc.BlueForce.SquadWeightMatrix, problem))
            return false;
        for (Side side : {Side::Red, Side::Blue})
            doc.MarkUserValues(&doc.Force(side).SquadWeightMatrix, sizeof doc.Force(side).SquadWeightMatrix);
        return true;
    });
}

}  // namespace brevimar
