// render_ppm IN.jwc OUT WxH: paints the drawing as the preview does, the
// paper fitted to WxH, on the front end's canvas; writes OUT.ppm, and
// OUT-notext.ppm painted with every text left out, so that front ends whose
// fonts differ can still be compared pixel for pixel.
#include "render_ppm.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_ppm IN.jwc OUT WxH\n");
        return 2;
    }
    try {
        int32_t width = 0, height = 0;
        if (std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width < 1 || height < 1) return 2;
        tavo::TJwcFile file;
        tavo::LoadJwcFile(file, argv[1]);
        tavo::TJwObject drawing;
        tavo::ImportJwc(file, drawing);
        const tavo::RecordingCanvas calls = tavo::test::PaintedAsThePreview(drawing, width, height);
        const std::string out = argv[2];
        tavo::test::WritePpm(out + ".ppm", width, height,
                             tavo::test::PaintOnSurface(width, height, [&](tavo::Canvas& c) { calls.Replay(c); }));
        tavo::test::WriteTextlessPpm(out + "-notext.ppm", width, height, calls);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render_ppm: %s\n", e.what());
        return 1;
    }
}
