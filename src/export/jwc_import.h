#pragma once

namespace tavo {

class TJwcFile;
class TJwObject;

// Turns a JWC drawing into a newly created export drawing: drawing units
// become real-world millimetres by each group's own scale, and the JWC
// tables become groups, layers and text sizes. A text record without a text
// gets the empty text.
void ImportJwc(const TJwcFile& source, TJwObject& target);

}  // namespace tavo
