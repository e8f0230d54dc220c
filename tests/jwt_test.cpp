#include <gtest/gtest.h>

#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "jwc/jwc_file.h"
#include "jwc/jwt_text.h"

namespace tavo {
namespace {

const std::string kHead = ";<<JWT.Format.Text>>\r\nBEGIN\r\n";
const std::string kEnd = "END\r\n";

TEST(JwtText, RecordsOfAJwcDrawingScaledByTheFactor) {
    TJwcFile d;
    d.addSen() = Sen{1, 2, 3, 4, 1, 2, 17, 0, 0};
    d.addEnko() = Enko{1, 1, 2, 10000, 0, 0, 0, 1, 2, 3, 0, 0};                  // whole circle
    d.addEnko() = Enko{1, 1, 2, 5000, 0, 0, 0, 1, 2, 3, 0, 0};                   // whole ellipse
    d.addEnko() = Enko{1, 1, 2, 10000, 0, 90 * 65536, 0, 1, 2, 3, 0, 0};         // quarter arc
    d.addEnko() = Enko{1, 1, 2, 10000, 0, 360 * 65536, 0, 1, 2, 3, 0, 0};        // a full turn
    d.addEnko() = Enko{1, 1, 2, 10000, 10 * 65536, -350 * 65536, 45 * 65536, 1, 2, 3, 0, 0};
    d.addMoji() = Moji{0, 0, 0, -1, 0, 3, 240, 0};
    d.appendText("say \"hi\"");
    d.addMoji() = Moji{1, 1, 2, 2, 0, 4, 240, 0};  // no text for this record
    d.addTen() = Ten{-0.0004f, 0.125f, 242, 5, 0};
    EXPECT_EQ(JwcToJwt(d, 10),
              kHead +
                  "L2,17,10.00,20.00,30.00,40.00,1,2\r\n"
                  "CC,3,10.00,10.00,20.00,1,2\r\n"
                  "AC,3,10.00,10.00,20.00,0.500,0.00,0.00,0.00,1,2\r\n"
                  "AC,3,10.00,10.00,20.00,1.000,0.00,90.00,0.00,1,2\r\n"
                  "CC,3,10.00,10.00,20.00,1,2\r\n"
                  "CC,3,10.00,10.00,20.00,1,2\r\n"
                  "ST,240,0.00,0.00,270.00,3,\"say \"hi\"\"\r\n"
                  "ST,240,10.00,10.00,45.00,4,\"\"\r\n"
                  "RP,242,0.00,1.25,5\r\n" +
                  kEnd);
}

TEST(JwtText, ExportDrawingRecordsAsStoredAndTheSelectionFilter) {
    TJwObject d;
    d.AddLine(1000, 2000, 3000, 2000, 1, 15, 1, 2);
    d.AddCircle(0, 0, 5, 1, 0, 360, 0, 0, 0, 1, 2);
    d.AddCircle(0, 0, 5, 0.5, 0, 360, 0, 0, 0, 1, 2);
    d.AddCircle(0, 0, 5, 1, 30, 120, 0, 0, 0, 1, 2);
    d.AddCircle(0, 0, 5, 1, 10, 370, 0, 0, 0, 1, 2);
    d.AddText(0, 0, -1, 0, 0, 15, 3, "A\"B", true);
    d.AddDot(2.345, -0.125, 2, 1, 6);
    d.AddSolid(0, 0, 1, 1, 0, 0, 255);
    d.Solids[0].Selected = true;
    d.LayerGroups[15].Visible = false;
    d.LayerGroups[0].Layers[0].Visible = false;
    const std::string all = ExportToJwt(d);
    EXPECT_EQ(all, kHead +
                       "L2,241,1000.00,2000.00,3000.00,2000.00,1,2\r\n"
                       "CC,0,0.00,0.00,5.00,1,2\r\n"
                       "AC,0,0.00,0.00,5.00,0.500,0.00,360.00,0.00,1,2\r\n"
                       "AC,0,0.00,0.00,5.00,1.000,30.00,120.00,0.00,1,2\r\n"
                       "CC,0,0.00,0.00,5.00,1,2\r\n"
                       "ST,240,0.00,0.00,180.00,3,\"A\"B\"\r\n"
                       "RP,18,2.35,-0.13,6\r\n" +
                       kEnd);
    EXPECT_EQ(ExportToJwt(d, JwtSelection::SelectedOnly), kHead + kEnd);
    d.Lines[0].Selected = true;
    d.Texts[0].Selected = true;
    EXPECT_EQ(ExportToJwt(d, JwtSelection::SelectedOnly),
              kHead + "L2,241,1000.00,2000.00,3000.00,2000.00,1,2\r\nST,240,0.00,0.00,180.00,3,\"A\"B\"\r\n" + kEnd);
}

}  // namespace
}  // namespace tavo
