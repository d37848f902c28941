#pragma once

namespace qm::Konstanten {

// Several messages end with this address followed by ".".
inline constexpr const char* SupportAdresse = "support@tessarwind.de";

}  // namespace qm::Konstanten
