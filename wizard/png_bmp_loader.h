#pragma once
// Pictures stored as resources of the program, decoded by the platform.
#include <string>

namespace qm {

class TImage;

// Loads the PNG stored under the resource name `gruppe` with the resource type
// `schluessel` + "PNG" into the image. A missing or undecodable resource raises.
void loadPngRessource(TImage& bild, const std::string& gruppe, const std::string& schluessel);

// The same for a Windows bitmap stored under name and type.
void loadBmpRessource(TImage& bild, const std::string& name, const std::string& typ);

}  // namespace qm
