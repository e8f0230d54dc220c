#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tavo {

class TJwcFile;
class TJwObject;

// The JWC drawing of an export drawing: real-world millimetres back to
// drawing units by each group's scale, all groups and layers shown with
// blank names, solids left out. A group whose scale is 0 counts as scale 1.
// What every reader takes: angles from 0 up to 360 degrees, no empty text
// (an empty one is left out), and a text whose base line has no length gets
// the length it is drawn with, rightward (vertical writing: downward).
std::unique_ptr<TJwcFile> MakeJwcFromExport(const TJwObject& drawing);

// How many texts that leaves out, for callers to tell.
int64_t TextsLeftOutOfJwc(const TJwObject& drawing);

// Writes it as a .jwc file (an existing file becomes NAME.bak).
void SaveExportAsJwc(const TJwObject& drawing, const std::string& path);

}  // namespace tavo
