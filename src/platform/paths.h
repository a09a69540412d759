// Where the program finds its files. Paths are the bytes the system knows them by (a
// folder unpacked from an old archive may have a Shift-JIS name): they never go through
// a text conversion on their way to the system; only a message turns one into text.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace kalvo {

// The folders searched for the era files, in order: the program's own folder, then the
// shared data folder of an installed program.
std::vector<std::string> eraFileFolders(const std::string& programDir);

// The first existing file of that name in the folders, or the name in the first folder
// when none has it (so that messages name the place it was expected).
std::string findFile(const std::vector<std::string>& folders, const std::string& name);

// The process's folders, as bytes.
std::string currentFolder();  // the working folder; "." when it cannot be named
std::string programFolder();  // the folder of the running program
std::string homeFolder();     // $HOME, else the user's entry in the password database
// Where the program keeps what must survive a crash: $XDG_STATE_HOME/kalvo, else
// ~/.local/state/kalvo (made when first needed).
std::string stateFolder(const std::string& home);

// A path as a message shows it: UTF-8 when it is UTF-8, else code page 932 when it reads
// as that (an old archive's Shift-JIS names), else UTF-8 with replacement characters.
QString displayPath(const std::string& path);

}  // namespace kalvo
