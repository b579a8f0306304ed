#include "description_file.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace protocollib {

namespace {

// Any object of this library: dladdr names the file it was loaded from.
const char kLocationAnchor = 0;

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string LibraryDirectory() {
    Dl_info info{};
    if (dladdr(&kLocationAnchor, &info) == 0 || info.dli_fname == nullptr) return {};
    return DirectoryOf(info.dli_fname);
}

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    return DirectoryOf(std::string(path, static_cast<std::size_t>(length)));
}

std::string Join(const std::string& directory, const std::string& name) {
    return directory.back() == '/' ? directory + name : directory + '/' + name;
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : fd_(fd) {}
    ~CFileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::vector<std::string> DescriptionCandidates(const std::string& fileName) {
    if (fileName.empty()) return {};
    if (fileName.front() == '/') return {fileName};
    std::vector<std::string> candidates{fileName};
    for (const auto& directory : {LibraryDirectory(), ProgramDirectory()}) {
        if (!directory.empty()) candidates.push_back(Join(directory, fileName));
    }
    return candidates;
}

std::optional<std::string> FindDescriptionFile(const std::string& fileName) {
    for (const auto& candidate : DescriptionCandidates(fileName)) {
        if (IsRegularFile(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> ReadDescriptionFile(const std::string& path) {
    // Non-blocking so that a FIFO put in the file's place cannot hang us
    // before fstat shows it is not a regular file.
    const CFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) return std::nullopt;
    struct stat status {};
    if (fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<unsigned long long>(status.st_size) > kMaxDescriptionBytes) {
        return std::nullopt;
    }

    std::string content;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t count = read(file.Get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) return content;
        // The file may have grown since fstat.
        if (content.size() + static_cast<std::size_t>(count) > kMaxDescriptionBytes) {
            return std::nullopt;
        }
        content.append(chunk, static_cast<std::size_t>(count));
    }
}

}  // namespace protocollib
