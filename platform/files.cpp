// Files and console of the platform layer, on POSIX calls.
//
// Sections: names · reading · replacing a file · console · test hooks.
//
// Replacing a file never writes over the old one: the new content goes to a temporary file
// in the same folder (so the final rename stays within one file system and is atomic), is
// flushed to disk, and only then renamed over the target. Whatever fails on the way, the old
// file keeps every byte and the temporary file is removed.
#include "platform/files_testing.h"
#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

testing::WriteFault armedFault = testing::WriteFault::none;
std::size_t faultAfterBytes = 0;

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { closeNow(); }
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    // False when the kernel reports an error at close, which for a written file can be the
    // first sign that data did not reach the disk.
    bool closeNow() {
        if (fd < 0) {
            return true;
        }
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool writeAll(int fd, std::string_view content) {
    std::size_t written = 0;
    while (written < content.size()) {
        std::size_t chunk = content.size() - written;
        if (armedFault == testing::WriteFault::write) {
            if (written >= faultAfterBytes) {
                errno = EIO;
                return false;
            }
            chunk = std::min(chunk, faultAfterBytes - written);
        }
        const ssize_t result = ::write(fd, content.data() + written, chunk);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

// The folder part of a path, "." for a bare file name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

// A symbolic link is replaced through: the file it names gets the new content and the link
// stays a link.
std::string resolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Names.

std::string nativePath(std::string_view name) {
    std::string path(name);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

bool fileExists(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    struct stat info {};
    return ::stat(nativePath(name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// ---------------------------------------------------------------------------------------------
// Reading.

std::optional<std::string> readFile(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    FileDescriptor file(::open(nativePath(name).c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t result = ::read(file.get(), buffer, sizeof buffer);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            // Folders and files the kernel cannot read fail here rather than at open.
            return std::nullopt;
        }
        if (result == 0) {
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(result));
    }
}

std::optional<std::vector<std::string>> readLines(std::string_view name) {
    std::optional<std::string> content = readFile(name);
    if (!content) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    const std::string& text = *content;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        lines.emplace_back(text, start, i - start);
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines.emplace_back(text, start, text.size() - start);
    }
    return lines;
}

// ---------------------------------------------------------------------------------------------
// Replacing a file.

bool writeFileReplacing(std::string_view name, std::string_view content) {
    if (name.empty()) {
        return false;
    }
    const std::string target = resolveTarget(nativePath(name));
    if (target.back() == '/') {
        return false;
    }
    struct stat old {};
    const bool targetExists = ::stat(target.c_str(), &old) == 0;
    if (targetExists && !S_ISREG(old.st_mode)) {
        return false;
    }

    const std::string folder = folderOf(target);
    const std::string baseName = target.substr(target.rfind('/') + 1);
    // O_EXCL on a name of our own (rather than mkstemp) lets the kernel apply the umask, so a
    // new file gets the same permissions as any other file the program creates.
    std::string temporary;
    int fd = -1;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + baseName + ".tmp" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    FileDescriptor file(fd);
    if (!file.valid()) {
        return false;
    }

    bool ok = true;
    if (targetExists) {
        // Best effort: a file we may not chmod is still better saved than lost.
        (void)::fchmod(file.get(), old.st_mode & 07777);
    }
    ok = ok && writeAll(file.get(), content);
    ok = ok && armedFault != testing::WriteFault::sync && ::fsync(file.get()) == 0;
    ok = file.closeNow() && ok;
    ok = ok && armedFault != testing::WriteFault::rename &&
         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }

    // Makes the rename itself durable; the new content is complete either way.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        (void)::fsync(directory.get());
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Console.

void writeConsoleLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------------------------
// Test hooks.

void testing::setWriteFault(WriteFault fault, std::size_t afterBytes) {
    armedFault = fault;
    faultAfterBytes = afterBytes;
}

} // namespace platform
