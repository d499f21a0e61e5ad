#pragma once
// Where the console keeps its own files: under the user's roaming
// application-data folder, so profiles follow the user from machine to
// machine: "Qeltrin Pro\profiles\<name>.ini", and the undo point beside the
// profiles folder.
#include <string>
#include <string_view>
#include <vector>

#include "profile/profile_file.h"
#include "store/charset_seam.h"
#include "store/file_seam.h"

// A bound on what is read back: far above what is ever written.
constexpr std::size_t kMaxProfileBytes = std::size_t{1} << 20;

// The folder of the console's files; empty when the user's folder is unknown.
std::string AppFolder(UserFileSeam& files);
// Empty when the folder is.
std::string ProfilesFolder(const std::string& appFolder);
std::string ProfilePath(const std::string& appFolder, std::string_view name);
// Empty when the folder is.
std::string UndoPointPath(const std::string& appFolder);

// 1 to 64 UTF-16 units of letters and digits of any script, blanks, "-", "_"
// and "."; not starting with "." or a blank, and no name the system keeps
// for a device (CON, NUL.txt, COM1...), whatever its case.
bool IsProfileName(std::string_view utf8, CharsetSeam& charset);

// The profiles there are, by name in alphabetical order; false when their
// folder cannot be listed.
bool ListProfiles(UserFileSeam& files, const std::string& appFolder, CharsetSeam& charset,
                  std::vector<std::string>* names);

enum class ProfileLoad { kLoaded, kMissing, kUnreadable, kInvalid };

struct LoadedProfile {
    ProfileLoad outcome = ProfileLoad::kMissing;
    std::string path;
    ProfileReading reading;  // of a profile loaded, or of the error of an invalid one
};

LoadedProfile LoadProfile(UserFileSeam& files, CharsetSeam& charset, const std::string& path);

// The profiles, by name in the order of their list, whose every value is what
// the settings hold.
std::vector<std::string> MatchingProfiles(UserFileSeam& files, CharsetSeam& charset,
                                          const SettingReadings& now);

// Saves the eight settings as they are now into a profile; a value that is
// missing or cannot be read is left out. An existing profile is replaced only
// when asked to, and keeps its networks.
struct ProfileSave {
    enum End { kSaved, kExists, kFailed } end = kSaved;
    std::vector<std::pair<std::size_t, ReadOutcome>> leftOut;  // row, why
};
ProfileSave SaveProfile(CRegistryAccess& registry, UserFileSeam& files, CharsetSeam& charset,
                        const std::string& path, bool replace);
