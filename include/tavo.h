/*
 * tavo.h - the whole C interface of the Tavo library.
 *
 * Conventions shared by every function:
 * - Strings in are passed by reference: the address of a variable that holds
 *   the address of NUL-terminated Shift-JIS bytes. A null pointer at either
 *   level reads as the empty text. The library copies the text at once.
 * - Strings out (TavoString) point at the first byte of a block that holds
 *   the byte count in the 4 bytes before it and two NULs after it. The caller
 *   owns it and frees it with TavoFreeString.
 * - Records out are zero-filled first, then filled.
 * - No function reports failure through its result; TavoGetLastError gives
 *   the message of the last failure.
 */
#ifndef TAVO_H
#define TAVO_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define TAVO_CALL __stdcall
#else
#define TAVO_CALL
#endif

/* On Windows the module-definition file (src/interface/tavo.def) exports
 * them by their plain names. */
#if defined(TAVO_BUILDING_LIBRARY) && !defined(_WIN32)
#define TAVO_API __attribute__((visibility("default")))
#else
#define TAVO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef const char* const* TavoStringIn;
typedef char* TavoString;

#if defined(_WIN32)
#pragma pack(push, 4)
#endif

/* Line record, filled by GetSen. Coordinates in drawing units. */
typedef struct TavoSenRecord {
    float X1, Y1, X2, Y2;
    uint8_t LineType;
    uint8_t Color;
    uint8_t Lay;
    uint8_t SpareByte;
    uint16_t SpareWord;
    uint8_t Padding[2];
} TavoSenRecord;

/* Arc record, filled by GetEnko. Angles in degrees x 65536. */
typedef struct TavoEnkoRecord {
    float X, Y, R;
    uint16_t Flatness;
    uint8_t Padding1[2];
    int32_t StartAngle;
    int32_t EndAngle;
    int32_t Tilt;
    uint8_t LineType;
    uint8_t Color;
    uint8_t Lay;
    uint8_t SpareByte;
    uint16_t SpareWord;
    uint8_t Padding2[2];
} TavoEnkoRecord;

/* Text record, filled by GetMoji; the text comes from GetMojiString. */
typedef struct TavoMojiRecord {
    float X1, Y1, X2, Y2;
    uint8_t MojiNo;
    uint8_t Lay;
    uint16_t Flags;
} TavoMojiRecord;

/* Point record, filled by GetTen. */
typedef struct TavoTenRecord {
    float X, Y;
    uint8_t Lay;
    uint8_t Color;
    uint16_t SpareWord;
} TavoTenRecord;

/* Text-size row, filled by GetTable; tenths of a millimetre. */
typedef struct TavoMojiTableRow {
    uint16_t PenNo;
    uint16_t Width;
    uint16_t Height;
    uint16_t Spacing;
} TavoMojiTableRow;

/* The settings record. The library reads and writes its first 202 bytes
 * only; natural alignment pads it to 204. Booleans: 0 false, -1 true. */
typedef struct TavoSettings {
    uint8_t PenNo[10];
    int16_t MojiWidth[10];
    int16_t MojiHeight[10];
    int16_t MojiPitch[10];
    uint8_t Gap70[2];
    float DimScale;
    int16_t JwcScale;
    int16_t PlotSize;
    uint8_t SenLay;
    uint8_t SenColor;
    uint8_t Gap82[2];
    float DoubleSenPitch;
    uint8_t MojiLay;
    uint8_t SimbolLay;
    uint8_t SimbolColor;
    uint8_t ExportTarget;
    uint8_t PlotOffset;
    uint8_t Gap93;
    int16_t IsSameScale;
    int16_t GroupScale[16];
    uint8_t BColorIndex[56];
    uint8_t BTypeIndex[13];
    uint8_t Gap197;
    int16_t ExchangeCaret;
    int16_t ExchangeSolid;
} TavoSettings;

/* Which kinds of entity a dump copies: lines, arcs, texts, points. */
typedef struct TavoDumpChecks {
    int16_t Line;
    int16_t Circle;
    int16_t String;
    int16_t Dot;
} TavoDumpChecks;

#if defined(_WIN32)
#pragma pack(pop)
#endif

#if defined(__cplusplus)
#define TAVO_STATIC_ASSERT(c, m) static_assert(c, m)
#else
#define TAVO_STATIC_ASSERT(c, m) _Static_assert(c, m)
#endif
TAVO_STATIC_ASSERT(sizeof(TavoSenRecord) == 24, "line record is 24 bytes");
TAVO_STATIC_ASSERT(offsetof(TavoSenRecord, LineType) == 16 && offsetof(TavoSenRecord, SpareWord) == 20,
                   "line record offsets");
TAVO_STATIC_ASSERT(sizeof(TavoEnkoRecord) == 36, "arc record is 36 bytes");
TAVO_STATIC_ASSERT(offsetof(TavoEnkoRecord, Flatness) == 12 && offsetof(TavoEnkoRecord, StartAngle) == 16 &&
                       offsetof(TavoEnkoRecord, Tilt) == 24 && offsetof(TavoEnkoRecord, LineType) == 28 &&
                       offsetof(TavoEnkoRecord, SpareWord) == 32,
                   "arc record offsets");
TAVO_STATIC_ASSERT(sizeof(TavoMojiRecord) == 20, "text record is 20 bytes");
TAVO_STATIC_ASSERT(offsetof(TavoMojiRecord, MojiNo) == 16 && offsetof(TavoMojiRecord, Flags) == 18,
                   "text record offsets");
TAVO_STATIC_ASSERT(sizeof(TavoTenRecord) == 12, "point record is 12 bytes");
TAVO_STATIC_ASSERT(offsetof(TavoTenRecord, Lay) == 8 && offsetof(TavoTenRecord, SpareWord) == 10,
                   "point record offsets");
TAVO_STATIC_ASSERT(sizeof(TavoMojiTableRow) == 8, "text-size row is 8 bytes");
TAVO_STATIC_ASSERT(offsetof(TavoSettings, DimScale) == 72 && offsetof(TavoSettings, DoubleSenPitch) == 84 &&
                       offsetof(TavoSettings, IsSameScale) == 94 && offsetof(TavoSettings, GroupScale) == 96 &&
                       offsetof(TavoSettings, BColorIndex) == 128 && offsetof(TavoSettings, BTypeIndex) == 184 &&
                       offsetof(TavoSettings, ExchangeCaret) == 198 && offsetof(TavoSettings, ExchangeSolid) == 200,
                   "settings record offsets");
TAVO_STATIC_ASSERT(sizeof(TavoDumpChecks) == 8, "dump flags are 8 bytes");
#undef TAVO_STATIC_ASSERT

/* JWC drawing: build, save, load and read back a .jwc file. */
TAVO_API void TAVO_CALL JwcCreate(int16_t PlotSize, int16_t Scale);
TAVO_API void TAVO_CALL JwcCreateByInifile(void);
TAVO_API void TAVO_CALL JwcDestroy(void);
TAVO_API void TAVO_CALL JwcSaveTo(TavoStringIn FileName);
TAVO_API void TAVO_CALL JwcLoadFrom(TavoStringIn FileName);
TAVO_API void TAVO_CALL SetComment(TavoStringIn Comment1, TavoStringIn Comment2);
TAVO_API void TAVO_CALL SetMojiTable(int16_t Row, uint16_t PenNo, uint16_t Width, uint16_t Height,
                                     uint16_t Spacing);
TAVO_API void TAVO_CALL AddSen(float X1, float Y1, float X2, float Y2, uint8_t Color, uint8_t Lay,
                               uint8_t LineType, uint8_t SpareByte, uint16_t SpareWord);
TAVO_API void TAVO_CALL AddEnko(float X, float Y, float R, uint16_t Flatness, int32_t StartAngle,
                                int32_t EndAngle, int32_t Tilt, uint8_t Color, uint8_t Lay, uint8_t LineType,
                                uint8_t SpareByte, uint16_t SpareWord);
TAVO_API void TAVO_CALL AddMoji(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                uint16_t Flags, TavoStringIn Text);
TAVO_API void TAVO_CALL AddTen(float X, float Y, uint8_t Color, uint8_t Lay, uint16_t SpareWord);
TAVO_API int32_t TAVO_CALL GetSenCount(void);
TAVO_API int32_t TAVO_CALL GetEnkoCount(void);
TAVO_API int32_t TAVO_CALL GetMojiCount(void);
TAVO_API int32_t TAVO_CALL GetTenCount(void);
TAVO_API void TAVO_CALL GetSen(TavoSenRecord* Record, int16_t Index);
TAVO_API void TAVO_CALL GetEnko(TavoEnkoRecord* Record, int16_t Index);
TAVO_API void TAVO_CALL GetMoji(TavoMojiRecord* Record, int16_t Index);
TAVO_API void TAVO_CALL GetTen(TavoTenRecord* Record, int16_t Index);
TAVO_API TavoString TAVO_CALL GetMojiString(int16_t Index);
TAVO_API void TAVO_CALL GetTable(TavoMojiTableRow* Record, int16_t Row);
TAVO_API int32_t TAVO_CALL DrawWidth(int16_t PlotSize);
/* The drawing as JWT text on the clipboard: millimetres on the sheet times
 * the scale. */
TAVO_API void TAVO_CALL CopyToAsJwt(void);

/* Export drawing: created from the stored settings, filled with worksheet
 * elements in millimetres on the paper, written to a .jwc, JWW coordinate or
 * DXF file. Lay: group in the high nibble, layer in the low one. */
TAVO_API void TAVO_CALL ObjCreateByInifile(void);
TAVO_API void TAVO_CALL ObjDestroy(void);
TAVO_API void TAVO_CALL SetObjComment(TavoStringIn Comment1, TavoStringIn Comment2);
TAVO_API void TAVO_CALL AddLine(float X1, float Y1, float X2, float Y2, uint8_t Color, uint8_t Lay, uint8_t LineType);
TAVO_API void TAVO_CALL AddText(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                TavoStringIn Text);
TAVO_API void TAVO_CALL AddTextV(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                 TavoStringIn Text);
TAVO_API void TAVO_CALL AddCircle(float X, float Y, float R, float Flatness, float StartAngle, float EndAngle,
                                  float Tilt, uint8_t Color, uint8_t Lay, uint8_t LineType);
TAVO_API void TAVO_CALL AddSolid(float X1, float Y1, float X2, float Y2, int32_t Color, uint8_t Lay);
TAVO_API void TAVO_CALL ObjSaveToJwcFile(TavoStringIn FileName);
TAVO_API void TAVO_CALL ObjSaveToTxtFile(TavoStringIn FileName);
/* DXF in real-world millimetres, as JW_CAD reads it: R12 in Shift-JIS
 * (TavoObjSaveToDxfFileEx writes the other versions). An existing file
 * becomes NAME.bak. */
TAVO_API void TAVO_CALL ObjSaveToDxfFile(TavoStringIn FileName);
TAVO_API void TAVO_CALL ObjCopyToAsJwt(void);

/* Settings: "tavo.ini" (or the legacy "tavo.dat") in the settings folder,
 * read and written on every call. String slots: 1 Comment1, 2 Comment2,
 * 3 FileName, 4 FilePath, 5 DumpName. */
TAVO_API void TAVO_CALL ReadInifile(TavoSettings* Settings);
TAVO_API void TAVO_CALL WriteInifile(const TavoSettings* Settings);
TAVO_API TavoString TAVO_CALL ReadIniString(int16_t Slot);
TAVO_API void TAVO_CALL WriteIniString(int16_t Slot, TavoStringIn Value);
TAVO_API void TAVO_CALL ReadIniDump(TavoDumpChecks* Checks);
TAVO_API void TAVO_CALL WriteIniDump(const TavoDumpChecks* Checks);

/* Windows: the preview of the current export drawing, or of the current JWC
 * drawing converted (the export drawing made for it is gone afterwards),
 * modal, returning 1 after its close action; and the progress dialog, whose
 * Progress returns -1 until the user cancels, then 0. With no display they
 * return at once (0; Progress -1) and TavoGetLastError says why. */
TAVO_API int32_t TAVO_CALL ShowJwBrws(TavoStringIn FileName);
TAVO_API int16_t TAVO_CALL ShowJwBrwsFromJwc(TavoStringIn FileName);
TAVO_API void TAVO_CALL ProgressCreate(int16_t LineMax, int16_t TextMax);
TAVO_API int32_t TAVO_CALL Progress(int16_t LinePos, int16_t TextPos);
TAVO_API void TAVO_CALL ProgressDestroy(void);

/* The settings dialog for the host's three tasks: export, dump and build.
 * It shows the stored settings; OK stores the edited ones in tavo.ini and
 * returns 1, any other way out stores nothing and returns 2. With no
 * display it returns 2 at once and TavoGetLastError says why. */
TAVO_API int16_t TAVO_CALL ShowExportForm(void);
TAVO_API int16_t TAVO_CALL ShowDumpForm(void);
TAVO_API int16_t TAVO_CALL ShowBuildForm(void);

/* Strings handed out, and the last failure. */
TAVO_API void TAVO_CALL TavoFreeString(TavoString Str);
TAVO_API uint32_t TAVO_CALL TavoStringByteLen(const char* Str);
TAVO_API TavoString TAVO_CALL TavoGetLastError(void);
/* The bytes the library last put on the clipboard (empty if none). */
TAVO_API TavoString TAVO_CALL TavoGetClipboardText(void);

/* Extension: drawings of more than 32,767 records of a kind. The same as
 * GetSen, GetEnko, GetMoji, GetTen and GetMojiString, with a 32-bit index
 * (0 <= Index < the kind's count; any other index gives a zero record, or
 * " " for the text). */
TAVO_API void TAVO_CALL TavoGetSenEx(TavoSenRecord* Record, int32_t Index);
TAVO_API void TAVO_CALL TavoGetEnkoEx(TavoEnkoRecord* Record, int32_t Index);
TAVO_API void TAVO_CALL TavoGetMojiEx(TavoMojiRecord* Record, int32_t Index);
TAVO_API void TAVO_CALL TavoGetTenEx(TavoTenRecord* Record, int32_t Index);
TAVO_API TavoString TAVO_CALL TavoGetMojiStringEx(int32_t Index);

/* Extension: ObjSaveToDxfFile in another DXF version. Profile 0 is the R12
 * of ObjSaveToDxfFile; 2000 writes R2000 (AC1015, Shift-JIS) and 2018 writes
 * R2018 (AC1032, UTF-8), with ellipses, hatches and handles, for AutoCAD,
 * BricsCAD and LibreCAD. Any other number writes nothing and fails. */
TAVO_API void TAVO_CALL TavoObjSaveToDxfFileEx(TavoStringIn FileName, int32_t Profile);

#ifdef __cplusplus
}
#endif

#endif /* TAVO_H */
