#include "dialogs/TerrainParamsDlg.h"

#include "core/Document.h"

namespace brevimar {

namespace {

using T = CTerrainParamsDlg;

void BlockColumn(std::vector<DialogItem>& items, int first)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 7);
    // "SIZE" over length and width, "CENTER" over x and y.
    for (const char* header : {"", "", "", "SIZE", "", "CENTER", "", "", "Use?", "Type", "Length", "Width", "x", "y"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, header);
    for (int k = first; k < first + 16; ++k) {
        items.emplace_back(DlgItem::Label, IDC_STATIC, "Terrain Block #" + std::to_string(k));
        items.emplace_back(DlgItem::CheckBox, T::UseId(k));
        for (const int id : {T::TypeId(k), T::LengthId(k), T::WidthId(k), T::CenterXId(k), T::CenterYId(k)})
            items.emplace_back(DlgItem::Edit, id);
    }
    items.emplace_back(DlgItem::EndGroup);
}

DialogTemplate TerrainTemplate()
{
    DialogTemplate t{0, "Edit::Terrain Parameters", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "TERRAIN");
    items.emplace_back(DlgItem::Radio, T::IDC_TERRAIN_ON, "On");
    items.emplace_back(DlgItem::Radio, T::IDC_TERRAIN_OFF, "Off");
    items.emplace_back(DlgItem::EndGroup);
    BlockColumn(items, 1);
    items.emplace_back(DlgItem::Column);
    BlockColumn(items, 17);
    return t;
}

}  // namespace

CTerrainParamsDlg::CTerrainParamsDlg(const CBrevimarDoc& doc, QWidget* parent) : CParamDlg(TerrainTemplate(), parent)
{
    BindOnOff(IDC_TERRAIN_ON, IDC_TERRAIN_OFF, TerrainFlag);
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        BindCheck(UseId(k), Used[k]);
        // The battlefield knows terrain types 0..5 only.
        Bind(TypeId(k), Type[k], 0, PassableIII);
        Bind(LengthId(k), Length[k], 0, 300);
        Bind(WidthId(k), Width[k], 0, 300);
        Bind(CenterXId(k), CenterX[k], 0, 300);
        Bind(CenterYId(k), CenterY[k], 0, 300);
    }

    const CBattlefield& b = doc.Battlefield;
    TerrainFlag = b.TerrainMode;
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        Used[k] = b.TerrainBlockUsed[k];
        Type[k] = b.TerrainBlockType[k];
        Length[k] = b.TerrainBlockLength[k];
        Width[k] = b.TerrainBlockWidth[k];
        CenterX[k] = b.TerrainBlockX[k];
        CenterY[k] = b.TerrainBlockY[k];
    }
}

}  // namespace brevimar
