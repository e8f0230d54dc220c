#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workbook/ods_styles.h"
#include "workbook/sheet_model.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

// The draw: shapes of an .ods sheet (lines, connectors, rectangles,
// ellipses, custom shapes, polylines, text boxes and groups of them),
// placed from their anchor cell, or from the sheet's corner when they hang
// from the page; pictures, charts and controls are counted in
// model.notDrawn. The content reader feeds it every element inside the
// sheet, with the cell it is in.
class OdsShapeReader {
public:
    OdsShapeReader(const OdsStyles& styles, SheetModel& model) : styles_(styles), model_(model) {}

    // Whether the reader is inside a shape (and takes the text).
    bool active() const { return depth_ > 0; }
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, int32_t row, int32_t col);
    void end(std::string_view ns, std::string_view name);
    void text(std::string_view chars);

private:
    void startShape(std::string_view name, const XmlAttributes& a, int32_t row, int32_t col);
    void finish();

    const OdsStyles& styles_;
    SheetModel& model_;
    int depth_ = 0;           // elements open inside the outermost shape
    int groups_ = 0;          // draw:g open around it
    std::optional<SheetShape> shape_;
    bool drawable_ = false, inParagraph_ = false, textSized_ = false;
    int paragraphs_ = 0;
    std::size_t points_ = 0;  // of all outlines
    std::string frameKind_;   // what a draw:frame turned out to hold
};

}  // namespace tavo::workbook
