// A character file's bytes: mapped read-only where the system can, so pages
// nobody reads (most images, every sound) never take memory.
#include "characterdata.h"

#include <cerrno>
#include <cstring>

#if __has_include(<sys/mman.h>)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define ACS_HAVE_MMAP 1
#else
#include <fstream>
#endif

namespace acs::detail
{
namespace
{

Error systemError(const char *what)
{
    return Error{std::string(what) + ": " + std::strerror(errno)};
}

#if ACS_HAVE_MMAP

// Maps the file one page past a 2 MB boundary. Where the address allows it,
// the system maps a cached file's large pages whole, two megabytes at a time;
// a character read a table and an image at a time would then hold megabytes
// it never looks at. Off the boundary, each read maps only a few pages.
void *mapOffHugeBoundary(int fd, size_t length)
{
    constexpr uintptr_t huge = uintptr_t(2) << 20;
    const auto page = uintptr_t(::sysconf(_SC_PAGESIZE));
    const size_t reserved = length + huge + page;
    void *area = ::mmap(nullptr, reserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (area == MAP_FAILED) return MAP_FAILED;
    const auto start = uintptr_t(area);
    const uintptr_t at = ((start + huge - 1) & ~(huge - 1)) + page;
    void *mapped = ::mmap(reinterpret_cast<void *>(at), length, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0);
    if (mapped == MAP_FAILED) {
        const int mapErrno = errno;
        ::munmap(area, reserved);
        errno = mapErrno;
        return MAP_FAILED;
    }
    // Give back the reservation on either side of the file.
    const uintptr_t end = at + (length + page - 1) / page * page;
    if (at > start) ::munmap(area, at - start);
    if (start + reserved > end) ::munmap(reinterpret_cast<void *>(end), start + reserved - end);
    return mapped;
}

Result<FileBytes> mapFile(const std::filesystem::path &path, uintmax_t maxSize)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemError("cannot open the file");
    struct stat status {
    };
    if (::fstat(fd, &status) != 0) {
        Error error = systemError("cannot read the file");
        ::close(fd);
        return error;
    }
    const auto size = uintmax_t(status.st_size);
    if (!S_ISREG(status.st_mode) || size > maxSize || size == 0) {
        ::close(fd);
        if (!S_ISREG(status.st_mode)) return Error{"not a regular file"};
        if (size == 0) return Error{"the file is empty"};
        return Error{std::to_string(size) + " bytes is more than a character file holds"};
    }
    void *address = mapOffHugeBoundary(fd, size_t(size));
    const int mapErrno = errno;
    ::close(fd);
    if (address == MAP_FAILED) {
        errno = mapErrno;
        return systemError("cannot map the file");
    }
    const auto length = size_t(size);
    std::shared_ptr<const void> mapping(
        address, [length](const void *at) { ::munmap(const_cast<void *>(at), length); });
    return FileBytes{{static_cast<const uint8_t *>(address), length}, std::move(mapping)};
}

#endif

} // namespace

Result<FileBytes> readFileBytes(const std::filesystem::path &path, uintmax_t maxSize)
{
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (!std::filesystem::exists(status)) return Error{"no such file"};
#if ACS_HAVE_MMAP
    return mapFile(path, maxSize);
#else
    if (!std::filesystem::is_regular_file(status)) return Error{"not a regular file"};
    const uintmax_t size = std::filesystem::file_size(path, code);
    if (code) return Error{"cannot read the file: " + code.message()};
    if (size > maxSize) return Error{std::to_string(size) + " bytes is more than a character file holds"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return systemError("cannot open the file");
    auto bytes = std::make_shared<std::vector<uint8_t>>(size_t(size));
    if (!in.read(reinterpret_cast<char *>(bytes->data()), std::streamsize(size)))
        return Error{"cannot read the file"};
    return FileBytes{*bytes, std::move(bytes)};
#endif
}

} // namespace acs::detail
