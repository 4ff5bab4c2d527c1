// The terrain switch and the 32 terrain blocks. The use flags never disable
// a block's fields.
#pragma once

#include "core/Limits.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

class CTerrainParamsDlg : public CParamDlg {
public:
    enum : int { IDC_TERRAIN_ON = 1001, IDC_TERRAIN_OFF = 1002 };
    static constexpr int UseId(int block) { return 1100 + block; }
    static constexpr int TypeId(int block) { return 1200 + block; }
    static constexpr int LengthId(int block) { return 1300 + block; }
    static constexpr int WidthId(int block) { return 1400 + block; }
    static constexpr int CenterXId(int block) { return 1500 + block; }
    static constexpr int CenterYId(int block) { return 1600 + block; }

    explicit CTerrainParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int TerrainFlag = 0;
    int Used[TerrainBlockSlots] = {};
    int Type[TerrainBlockSlots] = {};
    int Length[TerrainBlockSlots] = {};
    int Width[TerrainBlockSlots] = {};
    int CenterX[TerrainBlockSlots] = {};
    int CenterY[TerrainBlockSlots] = {};
};

}  // namespace brevimar
