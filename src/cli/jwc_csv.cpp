#include "cli/jwc_csv.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/error.h"
#include "cli/csv_row.h"
#include "cli/number_text_cli.h"

namespace tavo::cli {

namespace {

std::string num(float v) { return ShortestText(v); }

template <class T>
std::string num(T v) {
    return std::to_string(v);
}

class RowLine {
public:
    RowLine& operator<<(const std::string& field) {
        line_ += ',';
        line_ += field;
        return *this;
    }
    template <class T>
    RowLine& operator<<(T v) {
        return *this << num(v);
    }
    explicit RowLine(const char* kind) : line_(kind) {}
    std::string str() const { return line_ + "\n"; }

private:
    std::string line_;
};

}  // namespace

bool IsJwcRecordKind(std::string_view kind) {
    for (const char* k : {"Drawing", "Comment", "Table", "Sen", "Enko", "Moji", "Ten"})
        if (EqualsIgnoringAsciiCase(k, kind)) return true;
    return false;
}

std::string DumpJwcCsv(const TJwcFile& d, int32_t scale) {
    const auto text = [](std::string_view t) { return CsvField(t); };
    std::string out =
        "# Drawing,PaperSize,Scale\n"
        "# Comment,Comment1,Comment2\n"
        "# Table,Row,PenNo,Width,Height,Spacing\n"
        "# Sen,X1,Y1,X2,Y2,LineType,Color,Lay,SpareByte,SpareWord\n"
        "# Enko,X,Y,R,Flatness,StartAngle,EndAngle,Tilt,LineType,Color,Lay,SpareByte,SpareWord\n"
        "# Moji,X1,Y1,X2,Y2,MojiNo,Lay,Flags,Text\n"
        "# Ten,X,Y,Lay,Color,SpareWord\n";
    out += (RowLine("Drawing") << d.paperSize << scale).str();
    out += (RowLine("Comment") << text(d.comment1) << text(d.comment2)).str();
    const MojiTable& t = d.head.Table;
    for (int row = 0; row <= 10; ++row)
        out += (RowLine("Table") << row << t.Pen[row] << t.Width[row] << t.Height[row] << t.Spacing[row]).str();
    for (std::size_t i = 0; i < d.sens().size(); ++i) {
        const Sen& r = d.sens()[i];
        out += (RowLine("Sen") << r.X1 << r.Y1 << r.X2 << r.Y2 << +r.LineType << +r.Color << +r.Lay << +r.SpareByte
                               << r.SpareWord)
                   .str();
    }
    for (std::size_t i = 0; i < d.enkos().size(); ++i) {
        const Enko& r = d.enkos()[i];
        out += (RowLine("Enko") << r.X << r.Y << r.R << r.Flatness << r.StartAngle << r.EndAngle << r.Tilt
                                << +r.LineType << +r.Color << +r.Lay << +r.SpareByte << r.SpareWord)
                   .str();
    }
    for (std::size_t i = 0; i < d.mojis().size(); ++i) {
        const Moji& r = d.mojis()[i];
        const auto index = static_cast<int32_t>(i);
        const std::string body = index < d.textCount() ? text(d.textAt(index)) : std::string();
        out += (RowLine("Moji") << r.X1 << r.Y1 << r.X2 << r.Y2 << +r.MojiNo << +r.Lay << r.Flags << body).str();
    }
    for (std::size_t i = 0; i < d.tens().size(); ++i) {
        const Ten& r = d.tens()[i];
        out += (RowLine("Ten") << r.X << r.Y << +r.Lay << +r.Color << r.SpareWord).str();
    }
    return out;
}

void BuildJwcFromCsv(JwcSession& session, const std::vector<CsvRow>& rows, const BuildOptions& options,
                     const std::string& csvName) {
    int plotSize = 3;
    int scale = 100;
    for (const CsvRow& row : rows) {
        if (!KindIs(row, "Drawing")) continue;
        RowReader in(row, csvName, 2);
        plotSize = in.ranged("PlotSize");
        scale = in.ranged("JwcScale");
    }
    if (options.plotSize >= 0) plotSize = options.plotSize;
    if (options.scale >= 0) scale = options.scale;
    session.create(plotSize, scale);

    const CoordUnit unit = options.unit;
    for (const CsvRow& row : rows) {
        if (KindIs(row, "Drawing")) {
            continue;
        } else if (KindIs(row, "Comment")) {
            RowReader in(row, csvName, 2);
            const std::string& c1 = in.text();
            const std::string& c2 = in.text();
            const std::string problem = CommentsProblem(c1, c2);
            if (!problem.empty()) in.fail(problem);
            session.setComment(c1, c2);
        } else if (KindIs(row, "Table")) {
            RowReader in(row, csvName, 5);
            const auto r = in.integer<int16_t>();
            if (r < 0 || r > 10) in.fail("text-size rows run from 0 to 10, not " + std::to_string(r));
            const auto pen = in.integer<uint16_t>();
            const auto width = in.integer<uint16_t>();
            const auto height = in.integer<uint16_t>();
            session.setMojiTable(r, pen, width, height, in.integer<uint16_t>());
        } else if (KindIs(row, "Sen")) {
            RowReader in(row, csvName, 9);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto lineType = in.lineType("LineType");
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            const auto spareByte = in.integer<uint8_t>();
            session.addSen(x1, y1, x2, y2, color, lay, lineType, spareByte, in.integer<uint16_t>(), unit);
        } else if (KindIs(row, "Enko")) {
            RowReader in(row, csvName, 12);
            const float x = in.f32(), y = in.f32(), r = in.f32();
            const auto flatness = in.integer<uint16_t>();
            const auto start = in.integer<int32_t>();
            const auto end = in.integer<int32_t>();
            const auto tilt = in.integer<int32_t>();
            const auto lineType = in.lineType("LineType");
            const auto color = in.pen("Color");
            const auto lay = in.integer<uint8_t>();
            const auto spareByte = in.integer<uint8_t>();
            session.addEnko(x, y, r, flatness, start, end, tilt, color, lay, lineType, spareByte,
                            in.integer<uint16_t>(), unit);
        } else if (KindIs(row, "Moji")) {
            RowReader in(row, csvName, 8);
            const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
            const auto mojiNo = in.textSize("MojiNo");
            const auto lay = in.integer<uint8_t>();
            const auto flags = in.integer<uint16_t>();
            session.addMoji(x1, y1, x2, y2, mojiNo, lay, flags, in.text(), unit);
        } else if (KindIs(row, "Ten")) {
            RowReader in(row, csvName, 5);
            const float x = in.f32(), y = in.f32();
            const auto lay = in.integer<uint8_t>();
            const auto color = in.pen("Color");
            session.addTen(x, y, color, lay, in.integer<uint16_t>(), unit);
        } else {
            throw Error::badFile(csvName, "line " + std::to_string(row.line) + ": unknown kind \"" + row.fields[0] +
                                              "\" (expected Drawing, Comment, Table, Sen, Enko, Moji or Ten)");
        }
    }
}

}  // namespace tavo::cli
