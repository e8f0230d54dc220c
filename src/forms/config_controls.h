/* The settings dialog's controls by their designed names, one list for
 * every front end: the Qt widgets carry the names as object names, the
 * native controls have them as control identifiers. Plain C, so that the
 * test hosts that work the native dialog read it too. */
#ifndef TAVO_FORMS_CONFIG_CONTROLS_H
#define TAVO_FORMS_CONFIG_CONTROLS_H

/* X(name) for every control that is one of its kind. */
#define TAVO_CONFIG_CONTROLS(X)                                                                                     \
    X(tvContents) X(pnExpTarget) X(pnExpScale) X(pnExpLayer) X(pnLineColor) X(pnLineType) X(pnMoji) X(pnOption)      \
    X(pnDumpFile) X(pnAbout) X(bnHelp) X(bnOk) X(bnCancel) X(bnRenewal) X(rbToPreview) X(rbToClipboard) X(rbToJwc)  \
    X(rbToJww) X(gbJwcData) X(edCom1) X(edCom2) X(edFName) X(bnSaveAs) X(gbPlace) X(rbCenter) X(rbLeftTop)          \
    X(rbLeftBottom) X(cbDraft) X(edDimen) X(rbSameScale) X(lbScale) X(edScale) X(rbEachScale) X(sgGroupScale)       \
    X(cbRGrp) X(cbRLay) X(edRCol) X(cbMGrp) X(cbMLay) X(cbSGrp) X(cbSLay) X(edSPenNo) X(bnIniColor) X(bnIniType)    \
    X(edDouble) X(sgTable) X(bnMojiIni) X(cbCaret) X(cbSolid) X(edDumpName) X(bnDumpFile) X(cbLine) X(cbCircle)     \
    X(cbString) X(cbDot) X(htLabel)

#define TAVO_CONFIG_CONTROL_ID_OF(name) TAVO_ID_##name,
enum TavoConfigControlId {
    TAVO_ID_FIRST_CONTROL = 999,
    TAVO_CONFIG_CONTROLS(TAVO_CONFIG_CONTROL_ID_OF)
    /* Edit1..Edit40: TAVO_ID_EDIT_1 + n - 1; edtT1..edtT13 likewise. */
    TAVO_ID_EDIT_1 = 2001,
    TAVO_ID_EDT_T_1 = 2101,
    /* The editable cells of the grids: the grid's base + 32 * row + column. */
    TAVO_ID_GROUP_SCALE_CELLS = 3000,
    TAVO_ID_MOJI_CELLS = 4000
};
#undef TAVO_CONFIG_CONTROL_ID_OF

#define TAVO_ID_GRID_CELL(base, col, row) ((base) + 32 * (row) + (col))

#endif
