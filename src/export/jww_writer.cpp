#include "export/jww_writer.h"

#include "base/ascii_case.h"
#include "base/file_save.h"
#include "base/runtime_format.h"
#include "export/jw_object.h"

namespace tavo {

namespace {

// Collects lines and hands them to the sink in large pieces.
class JwwLines {
public:
    explicit JwwLines(ByteSink& sink) : sink_(sink) { buffer_.reserve(kFlushAt + 1024); }
    ~JwwLines() = default;

    JwwLines& text(const char* s) {
        buffer_ += s;
        return *this;
    }
    JwwLines& text(const std::string& s) {
        buffer_ += s;
        return *this;
    }
    JwwLines& hex(uint8_t value) {
        buffer_ += UpperHexDigit(value);
        return *this;
    }
    JwwLines& decimal(int64_t value) {
        buffer_ += std::to_string(value);
        return *this;
    }
    // " %.7e"
    JwwLines& number(double value) {
        buffer_ += ' ';
        AppendExponent(buffer_, value, 7);
        return *this;
    }
    void end() {
        buffer_ += "\r\n";
        if (buffer_.size() >= kFlushAt) flush();
    }
    void flush() {
        sink_.write(buffer_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    ByteSink& sink_;
    std::string buffer_;
};

// The attributes last written; a record follows only when one changes.
// Group and layer start at 16, which no entity has.
struct CurrentAttributes {
    int group = 16;
    int layer = 16;
    int pen = 0;
    int lineType = 0;
    int mojiNo = 0;
    uint32_t solidColor = 0;
};

class JwwWriter {
public:
    explicit JwwWriter(ByteSink& sink) : out_(sink) {}

    void write(const TJwObject& d) {
        out_.text("hd").end();
        for (const TLineItem& l : d.Lines) {
            placeAndPen(l.Group, l.Layer, l.Color);
            lineType(l.LineType);
            out_.number(l.X1).number(l.Y1).number(l.X2).number(l.Y2).end();
        }
        for (const TCircleItem& c : d.Circles) {
            placeAndPen(c.Group, c.Layer, c.Color);
            lineType(c.LineType);
            out_.text("ci").number(c.X).number(c.Y).number(c.R);
            if (c.StartAngle != c.EndAngle) out_.number(c.StartAngle).number(c.EndAngle).number(c.Flatness).number(c.Tilt);
            out_.end();
        }
        for (const TDotItem& p : d.Dots) {
            placeAndPen(p.Group, p.Layer, p.Color);
            out_.text("pt").number(p.X).number(p.Y).end();
        }
        for (const TTextItem& t : d.Texts) {
            place(t.Group, t.Layer);
            if (t.MojiNo != current_.mojiNo) {
                current_.mojiNo = t.MojiNo;
                out_.text("cn").decimal(t.MojiNo).end();
            }
            out_.text("ch").number(t.X1).number(t.Y1).number(t.X2 - t.X1).number(t.Y2 - t.Y1);
            out_.text(" \"").text(t.Text).end();
        }
        for (const TSolidItem& s : d.Solids) {
            place(s.Group, s.Layer);
            if (s.Color != current_.solidColor) {
                current_.solidColor = s.Color;
                out_.text("lc10 ").decimal(static_cast<int32_t>(s.Color)).end();
            }
            out_.text("sl");
            const int corners = s.Count == 3 ? 3 : 4;
            for (int i = 0; i < corners; ++i) out_.number(s.X[i]).number(s.Y[i]);
            out_.end();
        }
        out_.flush();
    }

private:
    void place(int group, int layer) {
        if (group != current_.group) {
            current_.group = group;
            out_.text("lg").hex(static_cast<uint8_t>(group)).end();
        }
        if (layer != current_.layer) {
            current_.layer = layer;
            out_.text("ly").hex(static_cast<uint8_t>(layer)).end();
        }
    }
    void placeAndPen(int group, int layer, int pen) {
        place(group, layer);
        if (pen != current_.pen) {
            current_.pen = pen;
            out_.text("lc").decimal(pen).end();
        }
    }
    void lineType(int type) {
        if (type != current_.lineType) {
            current_.lineType = type;
            out_.text("lt").decimal(type).end();
        }
    }

    JwwLines out_;
    CurrentAttributes current_;
};

}  // namespace

void WriteJww(const TJwObject& drawing, ByteSink& sink) { JwwWriter(sink).write(drawing); }

void SaveJww(const TJwObject& drawing, const std::string& path) {
    saveFile(path, [&](ByteSink& sink) { WriteJww(drawing, sink); });
}

}  // namespace tavo
