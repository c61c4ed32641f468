#include "host/qvgame.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "audio/sound_decode.h"
#include "host/text_codec.h"
#include "host/image_decode.h"

QvGame* QvGame::_game = nullptr;

void QvGame::SetDelegate(QvGameDelegate* newDelegate) { delegate = newDelegate; }
QvGameDelegate* QvGame::Delegate() { return delegate; }
void QvGame::SetKeyboardEnabled(bool enabled) { keyboardEnabled = enabled; }
bool QvGame::KeyboardEnabled() { return keyboardEnabled; }
void QvGame::SetUpdateRate(int rate) { updateRate = rate; }
int QvGame::UpdateRate() { return updateRate; }
bool QvGame::Started() { return started; }
bool QvGame::Suspended() { return suspended; }
int QvGame::Millisecs() { return 0; }

void QvGame::GetDate(int* date, int length) {
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < length && i < 7; ++i) date[i] = fields[i];
}

bool QvGame::PollJoystick(int, float*, float*, float*, bool*) { return false; }
void QvGame::OpenUrl(const String&) {}
void QvGame::SetMouseVisible(bool) {}
int QvGame::GetDeviceWidth() { return 0; }
int QvGame::GetDeviceHeight() { return 0; }
void QvGame::SetDeviceWindow(int, int, int) {}
std::vector<QvDisplayMode> QvGame::GetDisplayModes() { return {}; }
std::optional<QvDisplayMode> QvGame::GetDesktopMode() { return std::nullopt; }
void QvGame::SetSwapInterval(int) {}
String QvGame::PathToFilePath(const String& path) { return path; }

FILE* QvGame::OpenFile(const String& path, const String& mode) {
    String filePath = PathToFilePath(path);
    if (filePath.empty()) return nullptr;
    return fopen(ToUtf8(filePath).c_str(), ToUtf8(mode).c_str());
}

namespace {

std::vector<unsigned char> ReadWholeFile(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + n);
    return bytes;
}

std::string EncodeState(const String& text) { return ToUtf8(text); }

// A save killed between making its temporary file and renaming it leaves
// "<state file>.XXXXXX" behind. After a good save, such files older than a
// minute are removed; a younger one may belong to another copy of the game
// saving at this moment.
constexpr time_t kStaleTemporarySeconds = 60;

constexpr char kTemporarySuffix[] = ".XXXXXX";  // mkstemp's template

// "<state name>." and six letters or digits, as mkstemp makes them.
bool IsStateTemporaryName(const std::string& name, const std::string& stateName) {
    const size_t suffixLength = sizeof kTemporarySuffix - 1;
    if (name.size() != stateName.size() + suffixLength || name.compare(0, stateName.size(), stateName) != 0) {
        return false;
    }
    if (name[stateName.size()] != '.') return false;
    for (size_t i = stateName.size() + 1; i < name.size(); ++i) {
        if (!isalnum(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

void RemoveStaleTemporaries(const std::string& statePath) {
    size_t slash = statePath.rfind('/');
    std::string folder = slash == std::string::npos ? "." : statePath.substr(0, slash + 1);
    std::string stateName = slash == std::string::npos ? statePath : statePath.substr(slash + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (!IsStateTemporaryName(entry->d_name, stateName)) continue;
        struct stat info;
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || now - info.st_mtime < kStaleTemporarySeconds) continue;
        unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

bool WriteFully(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::vector<unsigned char>> QvGame::LoadData(const String& path) {
    FILE* file = OpenFile(path, u"rb");
    if (!file) return std::nullopt;
    std::vector<unsigned char> bytes = ReadWholeFile(file);
    fclose(file);
    return bytes;
}

String QvGame::LoadString(const String& path) {
    auto bytes = LoadData(path);
    if (!bytes) return String();
    return DecodeText(bytes->data(), bytes->size());
}

// The state is written to a temporary file beside the real one, flushed to
// disk and renamed over it: a crash, a kill or a full disk mid-save leaves the
// previous file whole instead of a truncated one.
int QvGame::SaveState(const String& text) {
    String target = PathToFilePath(kStateFilePath);
    if (target.empty()) return -1;
    std::string targetPath = ToUtf8(target);
    std::string tempPath = targetPath + kTemporarySuffix;
    int fd = mkstemp(tempPath.data());
    if (fd < 0) return -1;
    fchmod(fd, 0644);
    bool written = WriteFully(fd, EncodeState(text)) && fsync(fd) == 0;
    if (close(fd) != 0) written = false;
    if (!written) {
        unlink(tempPath.c_str());
        return -2;
    }
    if (rename(tempPath.c_str(), targetPath.c_str()) != 0) {
        unlink(tempPath.c_str());
        return -1;
    }
    RemoveStaleTemporaries(targetPath);
    return 0;
}

String QvGame::LoadState() { return LoadString(kStateFilePath); }

unsigned char* QvGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, u"rb");
    if (!file) return nullptr;
    unsigned char* pixels = DecodeImageFile(file, width, height, depth);
    fclose(file);
    return pixels;
}

unsigned char* QvGame::LoadAudioData(const String& path, int* length, int* channels, int* bytesPerSample,
                                     int* rate) {
    FILE* file = OpenFile(path, u"rb");
    if (!file) return nullptr;
    String lower = path;
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    auto endsWith = [&](std::u16string_view suffix) {
        return lower.size() >= suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    unsigned char* data = nullptr;
    if (endsWith(u".wav")) {
        data = LoadWAV(file, length, channels, bytesPerSample, rate);
    } else if (endsWith(u".ogg")) {
        data = LoadOGG(file, length, channels, bytesPerSample, rate);
    }
    fclose(file);
    return data;
}

void QvGame::Die(const ThrowableObject&) {
    qvPrint(u"Tarvik Runtime Error : Uncaught Tarvik Exception");
    QuitProcess(-1);
}

void QvGame::StartGame() {
    if (started) return;
    started = true;
    Guarded([&] { delegate->StartGame(); });
}

void QvGame::SuspendGame() {
    if (!started || suspended) return;
    suspended = true;
    Guarded([&] { delegate->SuspendGame(); });
}

void QvGame::ResumeGame() {
    if (!started || !suspended) return;
    suspended = false;
    Guarded([&] { delegate->ResumeGame(); });
}

void QvGame::UpdateGame() {
    if (!started || suspended) return;
    Guarded([&] { delegate->UpdateGame(); });
}

void QvGame::RenderGame() {
    if (!started) return;
    Guarded([&] { delegate->RenderGame(); });
}

void QvGame::KeyEvent(int kind, int data) {
    if (!started) return;
    Guarded([&] { delegate->KeyEvent(kind, data); });
}

void QvGame::MouseEvent(int kind, int button, float x, float y) {
    if (!started) return;
    Guarded([&] { delegate->MouseEvent(kind, button, x, y); });
}

void QvGame::TouchEvent(int kind, int finger, float x, float y) {
    if (!started) return;
    Guarded([&] { delegate->TouchEvent(kind, finger, x, y); });
}

void QvGame::MotionEvent(int kind, int data, float x, float y, float z) {
    if (!started) return;
    Guarded([&] { delegate->MotionEvent(kind, data, x, y, z); });
}

void QvGame::DiscardGraphics() {
    if (!started) return;
    Guarded([&] { delegate->DiscardGraphics(); });
}
