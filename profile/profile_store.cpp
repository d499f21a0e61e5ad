#include "profile/profile_store.h"

#include <algorithm>

#include "store/text_format.h"

namespace {

constexpr std::string_view kAppFolderName = "\\Qeltrin Pro";
constexpr std::string_view kProfilesFolder = "\\profiles";
constexpr std::string_view kExtension = ".ini";
constexpr std::string_view kUndoPointFile = "\\undo.txt";
constexpr std::size_t kMaxNameUnits = 64;

// The characters of a UTF-8 text. The console's words and file names come
// from UTF-16, so they are well formed; a broken sequence is only kept from
// reading past the text.
std::u32string Decode(std::string_view utf8) {
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        text += c;
        i += length;
    }
    return text;
}

// The system takes such a name, alone or before a dot, for a device.
bool IsDeviceName(std::string_view name) {
    std::string base = LowerAscii(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    if (base == "con" || base == "prn" || base == "aux" || base == "nul") {
        return true;
    }
    if (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0) {
        return false;
    }
    const std::string_view number = std::string_view(base).substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\u00B9" ||
           number == "\u00B2" || number == "\u00B3";
}

}  // namespace

std::string AppFolder(UserFileSeam& files) {
    const std::string folder = files.AppDataFolder();
    return folder.empty() ? folder : Concat({folder, kAppFolderName});
}

std::string ProfilesFolder(const std::string& appFolder) {
    return appFolder.empty() ? appFolder : Concat({appFolder, kProfilesFolder});
}

std::string ProfilePath(const std::string& appFolder, std::string_view name) {
    return Concat({appFolder, kProfilesFolder, "\\", name, kExtension});
}

std::string UndoPointPath(const std::string& appFolder) {
    return appFolder.empty() ? appFolder : Concat({appFolder, kUndoPointFile});
}

bool IsProfileName(std::string_view utf8, CharsetSeam& charset) {
    const std::u32string text = Decode(utf8);
    if (text.empty() || text.front() == U'.' || text.front() == U' ') {
        return false;
    }
    std::size_t units = 0;
    for (const char32_t c : text) {
        units += c > 0xFFFF ? 2 : 1;
        if (!charset.IsLetterOrDigit(c) && c != U' ' && c != U'-' && c != U'_' && c != U'.') {
            return false;
        }
    }
    return units <= kMaxNameUnits && !IsDeviceName(utf8);
}

bool ListProfiles(UserFileSeam& files, const std::string& appFolder, CharsetSeam& charset,
                  std::vector<std::string>* names) {
    names->clear();
    std::vector<std::string> found;
    if (!files.ListFolder(ProfilesFolder(appFolder), &found)) {
        return false;
    }
    for (const std::string& file : found) {
        if (file.size() <= kExtension.size()) {
            continue;
        }
        const std::string_view stem =
            std::string_view(file).substr(0, file.size() - kExtension.size());
        if (LowerAscii(file.substr(stem.size())) != kExtension || !IsProfileName(stem, charset)) {
            continue;
        }
        // In order as they come: a user has a handful.
        const std::string key = LowerAscii(stem);
        auto at = names->begin();
        while (at != names->end() && LowerAscii(*at) <= key) {
            ++at;
        }
        names->emplace(at, stem);
    }
    return true;
}

LoadedProfile LoadProfile(UserFileSeam& files, CharsetSeam& charset, const std::string& path) {
    LoadedProfile loaded;
    loaded.path = path;
    std::string bytes;
    switch (files.LoadFile(loaded.path, kMaxProfileBytes, &bytes)) {
        case FileOutcome::kDone:
            loaded.reading = ParseProfile(bytes, charset);
            loaded.outcome = loaded.reading.error == ProfileError::kNone ? ProfileLoad::kLoaded
                                                                         : ProfileLoad::kInvalid;
            break;
        case FileOutcome::kMissing:
            loaded.outcome = ProfileLoad::kMissing;
            break;
        case FileOutcome::kFailed:
            loaded.outcome = ProfileLoad::kUnreadable;
            break;
    }
    return loaded;
}

ProfileSave SaveProfile(CRegistryAccess& registry, UserFileSeam& files, CharsetSeam& charset,
                        const std::string& path, bool replace) {
    ProfileSave save;
    std::string existing;
    const FileOutcome found = files.LoadFile(path, kMaxProfileBytes, &existing);
    if (!replace && found != FileOutcome::kMissing) {
        save.end = ProfileSave::kExists;
        return save;
    }
    // Saved again, a setup keeps where it applies.
    const ProfileNetworks networks =
        found == FileOutcome::kDone ? ParseProfile(existing, charset).networks : std::nullopt;
    Profile profile;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        const SettingReading reading = ReadSetting(registry, row);
        if (reading.outcome == ReadOutcome::kRead) {
            profile[row] = reading.value;
        } else {
            save.leftOut.emplace_back(row, reading.outcome);
        }
    }
    if (!files.SaveFile(path, FormatProfile(profile, charset, networks))) {
        save.end = ProfileSave::kFailed;
    }
    return save;
}

std::vector<std::string> MatchingProfiles(UserFileSeam& files, CharsetSeam& charset,
                                          const SettingReadings& now) {
    const std::string folder = AppFolder(files);
    std::vector<std::string> names;
    std::vector<std::string> matching;
    if (folder.empty() || !ListProfiles(files, folder, charset, &names)) {
        return matching;
    }
    for (const std::string& name : names) {
        const LoadedProfile loaded = LoadProfile(files, charset, ProfilePath(folder, name));
        if (loaded.outcome == ProfileLoad::kLoaded && ProfileMatches(loaded.reading.profile, now)) {
            matching.push_back(name);
        }
    }
    return matching;
}
