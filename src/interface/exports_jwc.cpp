// The JWC call family of the C interface: thin wrappers over the session.
#include <cstring>

#include "base/geometry.h"
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "tavo.h"

using tavo::GuardedVoid;
using tavo::LibraryState;

namespace {

template <class Record>
void zero(Record* record) {
    if (record) std::memset(record, 0, sizeof *record);
}

int32_t count(int32_t (tavo::TJwcFile::*what)() const) {
    return tavo::Guarded<int32_t>(0, [&](LibraryState& s) { return (s.jwc.drawing().*what)(); });
}

// The Get exports by a 32-bit index: the host's exports take 16 bits, the
// extension exports all 32.
void getSen(TavoSenRecord* Record, int32_t Index) {
    zero(Record);
    GuardedVoid([&](LibraryState& s) {
        const tavo::Sen* r = s.jwc.drawing().senAt(Index);
        if (r) tavo::HostRecord(Record) = TavoSenRecord{r->X1, r->Y1, r->X2, r->Y2, r->LineType, r->Color, r->Lay, r->SpareByte,
                                r->SpareWord, {0, 0}};
    });
}

void getEnko(TavoEnkoRecord* Record, int32_t Index) {
    zero(Record);
    GuardedVoid([&](LibraryState& s) {
        const tavo::Enko* r = s.jwc.drawing().enkoAt(Index);
        if (r) tavo::HostRecord(Record) = TavoEnkoRecord{r->X,        r->Y,     r->R,     r->Flatness, {0, 0}, r->StartAngle,
                                 r->EndAngle, r->Tilt,  r->LineType, r->Color, r->Lay, r->SpareByte,
                                 r->SpareWord, {0, 0}};
    });
}

void getMoji(TavoMojiRecord* Record, int32_t Index) {
    zero(Record);
    GuardedVoid([&](LibraryState& s) {
        const tavo::Moji* r = s.jwc.drawing().mojiAt(Index);
        if (r) tavo::HostRecord(Record) = TavoMojiRecord{r->X1, r->Y1, r->X2, r->Y2, r->MojiNo, r->Lay, r->Flags};
    });
}

void getTen(TavoTenRecord* Record, int32_t Index) {
    zero(Record);
    GuardedVoid([&](LibraryState& s) {
        const tavo::Ten* r = s.jwc.drawing().tenAt(Index);
        if (r) tavo::HostRecord(Record) = TavoTenRecord{r->X, r->Y, r->Lay, r->Color, r->SpareWord};
    });
}

TavoString getMojiString(int32_t Index) {
    // " " is the answer for a text that does not exist, also when the
    // drawing is missing; if even that cannot be allocated, null.
    TavoString result = tavo::Guarded<TavoString>(nullptr, [&](LibraryState& s) -> TavoString {
        const tavo::TJwcFile& d = s.jwc.drawing();
        if (Index < 0 || Index >= d.textCount()) return tavo::AllocHostString(" ");
        return tavo::AllocHostString(d.textAt(Index));
    });
    return result ? result : tavo::AllocHostStringOrNull(" ");
}

}  // namespace

extern "C" {

TAVO_API void TAVO_CALL JwcCreate(int16_t PlotSize, int16_t Scale) {
    GuardedVoid([&](LibraryState& s) { s.jwc.create(PlotSize, Scale); });
}

TAVO_API void TAVO_CALL JwcDestroy(void) {
    GuardedVoid([&](LibraryState& s) {
        s.jwc.drawing();  // reports a destroy without a drawing
        s.jwc.destroy();
    });
}

TAVO_API void TAVO_CALL JwcSaveTo(TavoStringIn FileName) {
    GuardedVoid([&](LibraryState& s) { s.jwc.saveTo(tavo::ReadHostString(FileName)); });
}

TAVO_API void TAVO_CALL JwcLoadFrom(TavoStringIn FileName) {
    GuardedVoid([&](LibraryState& s) { s.jwc.loadFrom(tavo::ReadHostString(FileName)); });
}

TAVO_API void TAVO_CALL SetComment(TavoStringIn Comment1, TavoStringIn Comment2) {
    GuardedVoid([&](LibraryState& s) {
        s.jwc.setComment(tavo::ReadHostString(Comment1), tavo::ReadHostString(Comment2));
    });
}

TAVO_API void TAVO_CALL SetMojiTable(int16_t Row, uint16_t PenNo, uint16_t Width, uint16_t Height,
                                     uint16_t Spacing) {
    GuardedVoid([&](LibraryState& s) { s.jwc.setMojiTable(Row, PenNo, Width, Height, Spacing); });
}

TAVO_API void TAVO_CALL AddSen(float X1, float Y1, float X2, float Y2, uint8_t Color, uint8_t Lay,
                               uint8_t LineType, uint8_t SpareByte, uint16_t SpareWord) {
    GuardedVoid([&](LibraryState& s) { s.jwc.addSen(X1, Y1, X2, Y2, Color, Lay, LineType, SpareByte, SpareWord); });
}

TAVO_API void TAVO_CALL AddEnko(float X, float Y, float R, uint16_t Flatness, int32_t StartAngle,
                                int32_t EndAngle, int32_t Tilt, uint8_t Color, uint8_t Lay, uint8_t LineType,
                                uint8_t SpareByte, uint16_t SpareWord) {
    GuardedVoid([&](LibraryState& s) {
        s.jwc.addEnko(X, Y, R, Flatness, StartAngle, EndAngle, Tilt, Color, Lay, LineType, SpareByte, SpareWord);
    });
}

TAVO_API void TAVO_CALL AddMoji(float X1, float Y1, float X2, float Y2, uint8_t MojiNo, uint8_t Lay,
                                uint16_t Flags, TavoStringIn Text) {
    GuardedVoid([&](LibraryState& s) {
        s.jwc.addMoji(X1, Y1, X2, Y2, MojiNo, Lay, Flags, tavo::ReadHostString(Text));
    });
}

TAVO_API void TAVO_CALL AddTen(float X, float Y, uint8_t Color, uint8_t Lay, uint16_t SpareWord) {
    GuardedVoid([&](LibraryState& s) { s.jwc.addTen(X, Y, Color, Lay, SpareWord); });
}

TAVO_API int32_t TAVO_CALL GetSenCount(void) { return count(&tavo::TJwcFile::senCount); }
TAVO_API int32_t TAVO_CALL GetEnkoCount(void) { return count(&tavo::TJwcFile::enkoCount); }
TAVO_API int32_t TAVO_CALL GetMojiCount(void) { return count(&tavo::TJwcFile::mojiCount); }
TAVO_API int32_t TAVO_CALL GetTenCount(void) { return count(&tavo::TJwcFile::tenCount); }

TAVO_API void TAVO_CALL GetSen(TavoSenRecord* Record, int16_t Index) { getSen(Record, Index); }
TAVO_API void TAVO_CALL GetEnko(TavoEnkoRecord* Record, int16_t Index) { getEnko(Record, Index); }
TAVO_API void TAVO_CALL GetMoji(TavoMojiRecord* Record, int16_t Index) { getMoji(Record, Index); }
TAVO_API void TAVO_CALL GetTen(TavoTenRecord* Record, int16_t Index) { getTen(Record, Index); }
TAVO_API TavoString TAVO_CALL GetMojiString(int16_t Index) { return getMojiString(Index); }

TAVO_API void TAVO_CALL GetTable(TavoMojiTableRow* Record, int16_t Row) {
    zero(Record);
    GuardedVoid([&](LibraryState& s) {
        const tavo::MojiTable& t = s.jwc.drawing().head.Table;
        if (Row >= 0 && Row <= 10) tavo::HostRecord(Record) = TavoMojiTableRow{t.Pen[Row], t.Width[Row], t.Height[Row], t.Spacing[Row]};
    });
}

TAVO_API int32_t TAVO_CALL DrawWidth(int16_t PlotSize) {
    tavo::State().lastError.clear();
    return tavo::PaperLength(PlotSize);
}

/* Extension: the Get exports with 32-bit indexes, for drawings of more
 * than 32,767 records of a kind. */
TAVO_API void TAVO_CALL TavoGetSenEx(TavoSenRecord* Record, int32_t Index) { getSen(Record, Index); }
TAVO_API void TAVO_CALL TavoGetEnkoEx(TavoEnkoRecord* Record, int32_t Index) { getEnko(Record, Index); }
TAVO_API void TAVO_CALL TavoGetMojiEx(TavoMojiRecord* Record, int32_t Index) { getMoji(Record, Index); }
TAVO_API void TAVO_CALL TavoGetTenEx(TavoTenRecord* Record, int32_t Index) { getTen(Record, Index); }
TAVO_API TavoString TAVO_CALL TavoGetMojiStringEx(int32_t Index) { return getMojiString(Index); }

}  // extern "C"
