// Saving a truck file: the text goes to a temporary file beside the target,
// which is synced and renamed over the target, so a reader never sees half a
// file and a failure leaves the old one whole.
#include "analysis/TruckFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

TTruckFileError Problem(const std::string &path, std::string text)
{
    return TTruckFileError{path, "", std::move(text)};
}

TTruckFileError CannotWrite(const std::string &path, int err)
{
    return Problem(path, std::string("cannot be written: ") + std::strerror(err));
}

std::string Folder(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names, following symbolic links (relative ones from the
// link's folder); the path itself when it is no link. A loop of links or a
// link that cannot be read gives errno.
std::variant<std::string, int> FollowLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {
        };
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path; // a missing file is created where the path says
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return errno;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : Folder(path) + "/" + target;
    }
    return ELOOP;
}

// Whether this process may write the file. The effective ids ask the
// kernel; root passes that check for every file, so for root a file whose
// write bits are all clear counts as read-only too.
bool Writable(const std::string &path, const struct stat &st)
{
    if ((st.st_mode & 0222) == 0)
        return false;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Creates a new file beside `target` that no one else has: its mode is 0666
// less the umask, as for any new file (the umask itself is never changed).
int CreateTemporary(const std::string &target, std::string &name)
{
    std::random_device device;
    std::mt19937_64 random(device());
    const std::string folder = Folder(target);
    const std::string base = target.substr(target.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx",
                      static_cast<unsigned long long>(random() & 0xffffffffffffULL));
        name = folder + "/." + base + suffix + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

int WriteAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int SyncFolder(const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Some file systems cannot sync a folder; the rename is as safe as they allow.
    int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return err;
}

} // namespace

std::optional<TTruckFileError> WriteTruckFile(const std::string &path, const TTruck &truck)
{
    const std::string text = TruckJson(truck);
    // Never write what could not be read back.
    auto check = ParseTruck(text, path);
    if (auto *problem = std::get_if<TTruckFileError>(&check))
        return std::move(*problem);

    const auto followed = FollowLinks(path);
    if (const int *err = std::get_if<int>(&followed))
        return CannotWrite(path, *err);
    const std::string &target = std::get<std::string>(followed);

    struct stat st {
    };
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return Problem(path, "cannot be written: it is a folder");
    if (exists && !S_ISREG(st.st_mode))
        return Problem(path, "cannot be written: it is not a regular file");
    if (exists && !Writable(target, st))
        return Problem(path, "cannot be written: the file is read-only");

    std::string temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0)
        return CannotWrite(path, errno);
    int err = 0;
    if (exists) {
        // The old file's permissions, and its owner where this process may
        // set it (only root may give a file away; others keep their own).
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            const bool given = ::fchown(fd, st.st_uid, st.st_gid) == 0;
            static_cast<void>(given);
        }
        if (::fchmod(fd, st.st_mode & 07777) != 0)
            err = errno;
    }
    if (err == 0)
        err = WriteAll(fd, text);
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && std::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return CannotWrite(path, err);
    }
    if (const int syncErr = SyncFolder(Folder(target)); syncErr != 0)
        return Problem(path, std::string("written, but its folder could not be synced: ") +
                                 std::strerror(syncErr));
    return std::nullopt;
}
