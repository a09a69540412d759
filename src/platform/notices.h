// Words for the user's next start. A run that ends with nobody to read its messages (a
// logout, a lost display) and had to keep the change somewhere else leaves a note in the
// user's state folder; the next start shows it once and removes it.
#pragma once

#include <string>
#include <vector>

namespace kalvo {

// Leaves `text` (UTF-8) for the next start; false when the state folder is not usable.
bool leaveNotice(const std::string& stateFolder, const std::string& text);
// The notes left so far, oldest first, and removes them. Only notes that this user made
// in a folder of their own are read (file_io.h: openPrivateFolder).
std::vector<std::string> takeNotices(const std::string& stateFolder);

}  // namespace kalvo
