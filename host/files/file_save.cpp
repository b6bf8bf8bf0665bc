// Saving a file so that a failed save never damages what was there: the bytes go to a
// temporary file beside the target, renamed over it once all are on disk. Links are followed
// to the file they name, read-only files and folders are refused, and a replaced file keeps
// its mode and owner.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/files/dxf_writer.h"

namespace host {
namespace {

// How many links a path may pass through before it is taken for a loop.
constexpr int kMaxLinks = 40;

std::string Reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names once its symbolic links are followed (the file itself may be
// missing), so that saving replaces the target and leaves the link a link.
bool FollowLinks(std::string path, std::string& target, std::string& error) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            error = Reason("nie można odczytać dowiązania " + path);
            return false;
        }
        link.resize(static_cast<size_t>(n));
        path = !link.empty() && link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    error = "zbyt wiele dowiązań symbolicznych";
    return false;
}

// A file or folder that its mode marks read-only for everybody is refused even where the
// system would let the user write (the administrator), as the user marked it so.
bool MarkedReadOnly(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Whether the user may replace `path` (which may not exist yet) in its folder; the reason
// otherwise. `existing` gets the file's state when there is a file.
bool MayReplace(const std::string& path, bool& exists, struct stat& existing, std::string& error) {
    exists = stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        error = Reason("nie można sprawdzić pliku");
        return false;
    }
    if (exists) {
        if (!S_ISREG(existing.st_mode)) {
            error = "to nie jest zwykły plik";
            return false;
        }
        if (MarkedReadOnly(existing) || access(path.c_str(), W_OK) != 0) {
            error = "plik jest tylko do odczytu";
            return false;
        }
    }
    const std::string folder = FolderOf(path);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        error = Reason("nie można otworzyć folderu " + folder);
        return false;
    }
    if (MarkedReadOnly(info) || access(folder.c_str(), W_OK | X_OK) != 0) {
        error = "brak prawa zapisu w folderze " + folder;
        return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The rename is on disk only once the folder is: without this a crash could bring back the
// old file, or none.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    if (path.empty()) {
        error = "brak nazwy pliku";
        return false;
    }
    std::string target;
    if (!FollowLinks(path, target, error)) {
        return false;
    }
    bool exists = false;
    struct stat existing {};
    if (!MayReplace(target, exists, existing, error)) {
        return false;
    }
    std::string temporary = target + ".tmp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = Reason("nie można utworzyć pliku tymczasowego");
        return false;
    }
    // A new file gets the mode the user's mask gives; a replaced one keeps its own, and its
    // owner when the user may give it (the administrator saving another user's file).
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
        if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only the administrator may give a file away; anyone else keeps it as theirs.
        }
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    if (!ok) {
        error = Reason("zapis nie powiódł się");
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = Reason("zapis nie powiódł się");
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = Reason("nie można zastąpić pliku");
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool SaveDxfFile(Database& drawing, const std::string& path, std::string& error) {
    return WriteFileAtomically(path, WriteDrawingDxf(drawing), error);
}

}  // namespace host
