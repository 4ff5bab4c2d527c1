// The choosers' filters that more than one place shows, in the framework's
// "Description (*.ext)|*.ext|...||" form.
#pragma once

namespace brevimar {

// Every kind of file a document can start from.
inline constexpr char StartupFileFilter[] =
    "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run|Brevimar OUT Files (*.out)|*.out|"
    "Brevimar VLX Files (*.vlx)|*.vlx|Brevimar Files (*.brv)|*.brv||";

// A terrain file (*.ter).
inline constexpr char TerrainFileFilter[] = "Brevimar Terrain Input Data Files (*.ter)|*.ter||";

// The document's own file.
inline constexpr char DocumentFileFilter[] = "Brevimar Files (*.brv)|*.brv||";

}  // namespace brevimar
