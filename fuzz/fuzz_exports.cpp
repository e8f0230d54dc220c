// The C interface as a careless host might drive it: the input decodes into
// a sequence of export calls with arbitrary arguments, calls out of order,
// indexes anywhere, null pointers, huge, negative and non-finite numbers.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "tavo.h"

namespace {

std::string folder;
// Loading appends, so a sequence of saves and loads doubles a drawing each
// time; a few loads per input are enough to reach every path.
constexpr int kMaxLoads = 6;
int loadsLeft = 0;

class Decoder {
public:
    Decoder(const uint8_t* data, std::size_t size) : bytes_(data, size) {}
    bool done() const { return next_ == bytes_.size(); }
    uint8_t u8() { return done() ? 0 : bytes_[next_++]; }
    uint16_t u16() {
        const unsigned low = u8();
        const unsigned high = u8();
        return static_cast<uint16_t>(low | high << 8);
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    int32_t i32() {
        const uint32_t low = u16();
        const uint32_t high = u16();
        return static_cast<int32_t>(low | high << 16);
    }
    // Mostly ordinary millimetres, sometimes any bit pattern at all.
    float f32() {
        const uint8_t kind = u8();
        if (kind < 200) return static_cast<float>(i16()) / 8.0f;
        const uint32_t bits = static_cast<uint32_t>(i32());
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::string bytes() {
        const std::size_t n = u8() % 48;
        std::string s;
        for (std::size_t i = 0; i < n && !done(); ++i) s += static_cast<char>(u8());
        return s;
    }

private:
    std::basic_string_view<uint8_t> bytes_;
    std::size_t next_ = 0;
};

// A string argument as a host passes it, or one of the two null forms.
class HostString {
public:
    explicit HostString(Decoder& in) {
        const uint8_t form = in.u8() % 8;
        text_ = in.bytes();
        ptr_ = form == 1 ? nullptr : text_.c_str();
        ref_ = form == 0 ? nullptr : &ptr_;
    }
    TavoStringIn get() const { return ref_; }

private:
    std::string text_;
    const char* ptr_;
    const char* const* ref_;
};

class FileName {
public:
    explicit FileName(Decoder& in) {
        static const char* const kNames[] = {"a.jwc", "b.jwc", "c.txt", "tavo.ini", "missing/x.jwc", ""};
        const char* name = kNames[in.u8() % 6];
        text_ = *name ? folder + "/" + name : std::string();
        ptr_ = text_.c_str();
    }
    TavoStringIn get() const { return &ptr_; }

private:
    std::string text_;
    const char* ptr_;
};

template <class Record>
Record* recordOrNull(Decoder& in, Record& record) {
    std::memset(&record, 0xA5, sizeof record);
    return in.u8() % 16 == 0 ? nullptr : &record;
}

void freeString(TavoString s) {
    (void)TavoStringByteLen(s);
    TavoFreeString(s);
}

// Arguments are decoded one statement at a time: the order in which a
// compiler evaluates call arguments is unspecified, and a finding must
// replay the same under every compiler.
void call(Decoder& in) {
    TavoSenRecord sen;
    TavoEnkoRecord enko;
    TavoMojiRecord moji;
    TavoTenRecord ten;
    TavoMojiTableRow row;
    TavoSettings settings;
    TavoDumpChecks checks;
    const uint8_t op = in.u8() % 39;
    switch (op) {
        case 0: {
            const int16_t paper = in.i16(), scale = in.i16();
            JwcCreate(paper, scale);
            break;
        }
        case 1: JwcCreateByInifile(); break;
        case 2: JwcDestroy(); break;
        case 3: JwcSaveTo(FileName(in).get()); break;
        case 4: {
            const FileName name(in);
            if (loadsLeft-- > 0) JwcLoadFrom(name.get());
            break;
        }
        case 5:
        case 22: {
            const HostString first(in);
            const HostString second(in);
            if (op == 5)
                SetComment(first.get(), second.get());
            else
                SetObjComment(first.get(), second.get());
            break;
        }
        case 6: {
            const int16_t r = in.i16();
            const uint16_t pen = in.u16(), width = in.u16(), height = in.u16(), spacing = in.u16();
            SetMojiTable(r, pen, width, height, spacing);
            break;
        }
        case 7: {
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const uint8_t color = in.u8(), lay = in.u8(), type = in.u8(), spare = in.u8();
            const uint16_t word = in.u16();
            AddSen(x1, y1, x2, y2, color, lay, type, spare, word);
            break;
        }
        case 8: {
            const float x = in.f32(), y = in.f32(), r = in.f32();
            const uint16_t flatness = in.u16();
            const int32_t start = in.i32(), end = in.i32(), tilt = in.i32();
            const uint8_t color = in.u8(), lay = in.u8(), type = in.u8(), spare = in.u8();
            const uint16_t word = in.u16();
            AddEnko(x, y, r, flatness, start, end, tilt, color, lay, type, spare, word);
            break;
        }
        case 9: {
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const uint8_t size = in.u8(), lay = in.u8();
            const uint16_t flags = in.u16();
            const HostString text(in);
            AddMoji(x1, y1, x2, y2, size, lay, flags, text.get());
            break;
        }
        case 10: {
            const float x = in.f32(), y = in.f32();
            const uint8_t color = in.u8(), lay = in.u8();
            const uint16_t word = in.u16();
            AddTen(x, y, color, lay, word);
            break;
        }
        case 11: (void)(GetSenCount() + GetEnkoCount() + GetMojiCount() + GetTenCount()); break;
        case 12: {
            TavoSenRecord* r = recordOrNull(in, sen);
            GetSen(r, in.i16());
            break;
        }
        case 13: {
            TavoEnkoRecord* r = recordOrNull(in, enko);
            GetEnko(r, in.i16());
            break;
        }
        case 14: {
            TavoMojiRecord* r = recordOrNull(in, moji);
            GetMoji(r, in.i16());
            break;
        }
        case 15: {
            TavoTenRecord* r = recordOrNull(in, ten);
            GetTen(r, in.i16());
            break;
        }
        case 16: freeString(GetMojiString(in.i16())); break;
        case 17: {
            TavoMojiTableRow* r = recordOrNull(in, row);
            GetTable(r, in.i16());
            break;
        }
        case 18: (void)DrawWidth(in.i16()); break;
        case 19: CopyToAsJwt(); break;
        case 20: ObjCreateByInifile(); break;
        case 21: ObjDestroy(); break;
        case 23: {
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const uint8_t color = in.u8(), lay = in.u8(), type = in.u8();
            AddLine(x1, y1, x2, y2, color, lay, type);
            break;
        }
        case 24:
        case 25: {
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const uint8_t size = in.u8(), lay = in.u8();
            const HostString text(in);
            if (op == 24)
                AddText(x1, y1, x2, y2, size, lay, text.get());
            else
                AddTextV(x1, y1, x2, y2, size, lay, text.get());
            break;
        }
        case 26: {
            const float x = in.f32(), y = in.f32(), r = in.f32(), flatness = in.f32();
            const float start = in.f32(), end = in.f32(), tilt = in.f32();
            const uint8_t color = in.u8(), lay = in.u8(), type = in.u8();
            AddCircle(x, y, r, flatness, start, end, tilt, color, lay, type);
            break;
        }
        case 27: {
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const int32_t color = in.i32();
            const uint8_t lay = in.u8();
            AddSolid(x1, y1, x2, y2, color, lay);
            break;
        }
        case 28: ObjSaveToJwcFile(FileName(in).get()); break;
        case 29: ObjSaveToTxtFile(FileName(in).get()); break;
        case 30: ObjCopyToAsJwt(); break;
        case 31: ReadInifile(recordOrNull(in, settings)); break;
        case 32: {
            TavoSettings* s = recordOrNull(in, settings);
            if (s) {
                std::array<uint8_t, sizeof settings> raw{};
                for (uint8_t& b : raw) b = in.u8();
                std::memcpy(s, raw.data(), raw.size());
            }
            WriteInifile(s);
            break;
        }
        case 33: freeString(ReadIniString(in.i16())); break;
        case 34: {
            const int16_t slot = in.i16();
            const HostString value(in);
            WriteIniString(slot, value.get());
            break;
        }
        case 35: ReadIniDump(recordOrNull(in, checks)); break;
        case 36: {
            TavoDumpChecks* c = recordOrNull(in, checks);
            if (c) {
                c->Line = in.i16();
                c->Circle = in.i16();
                c->String = in.i16();
                c->Dot = in.i16();
            }
            WriteIniDump(c);
            break;
        }
        case 37: freeString(TavoGetLastError()); break;
        default: freeString(TavoGetClipboardText()); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // No display: the clipboard stays in the process.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    std::string pattern = "/tmp/tavo-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    folder = pattern;
    setenv("TAVO_SETTINGS_DIR", folder.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (folder.empty()) LLVMFuzzerInitialize(nullptr, nullptr);
    // Each input starts from an empty folder, so that it replays the same.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove_all(entry.path(), ec);
    loadsLeft = kMaxLoads;
    Decoder in(data, size);
    for (int calls = 0; calls < 256 && !in.done(); ++calls) call(in);
    // Each input starts from a library without drawings.
    JwcDestroy();
    ObjDestroy();
    return 0;
}
