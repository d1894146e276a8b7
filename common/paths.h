#pragma once
// Taking Windows file paths apart and putting them together. Both "\" and "/"
// separate folders; names keep the separators they were given (only the
// platform layer maps them), and a join inserts "\".
#include <string>
#include <string_view>

namespace quenzel {

// The extension with its dot, lower-cased; blank when the last dot is not in
// the file name.
std::string FILEEXT(std::string_view path);
// The same with the case kept.
std::string FILEEXTKC(std::string_view path);
// The file name without folder and extension.
std::string FILENAME(std::string_view path);
// The file name with its extension (the whole path when it has no folder).
std::string FILENAMEEXT(std::string_view path);
// The path without its extension.
std::string FILENAMEPATH(std::string_view path);
// The folder with its trailing separator; blank when there is none.
std::string FILEFOLDERPATH(std::string_view path);
// The file name cut before its last "_".
std::string FILENAMENO_(std::string_view path);
// The path without extension, cut before a last "_" of the file name.
std::string FILENAMEPATHNO_(std::string_view path);
// The file name from its last "_" on, lower-cased; blank when it has none.
std::string FILE___EXT(std::string_view path);
// folder and file joined (an absolute or drive file is taken as it is), with
// "..", "." and doubled backslashes resolved.
std::string ADDFOLDER(std::string_view folder, std::string_view file);
// Doubled backslashes (except a leading network pair), "\..\" and "\.\"
// resolved.
std::string REMOVEDOTDOT(std::string_view path);
// path trimmed and freed of doubled separators (a leading network pair
// stays); the cleaned path is also written back.
std::string CLEANPATH(std::string& path);
// An absolute path turned into a folder name usable below a mirror root
// ("C Drive\...", "URL\..."); true when path was relative already.
bool RELATIVEPATH(std::string& path);

}  // namespace quenzel
