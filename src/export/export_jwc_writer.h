#pragma once

#include <memory>
#include <string>

namespace tavo {

class TJwcFile;
class TJwObject;

// The JWC drawing of an export drawing: real-world millimetres back to
// drawing units by each group's scale, all groups and layers shown with
// blank names, solids left out. A group whose scale is 0 counts as scale 1.
std::unique_ptr<TJwcFile> MakeJwcFromExport(const TJwObject& drawing);

// Writes it as a .jwc file (an existing file becomes NAME.bak).
void SaveExportAsJwc(const TJwObject& drawing, const std::string& path);

}  // namespace tavo
