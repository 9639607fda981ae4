#include "tlzrw1.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

using bg::lzrw1::Bytes;
using bg::lzrw1::LzrwError;

namespace {

constexpr const char* kNoMemory = "Lzrw1 (de)compression : Failed to get memory for I/O buffers !";

// Closes a descriptor on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

namespace bg::lzrw1 {

Bytes readWholeFile(const std::string& path, const std::string& readErrorSuffix) {
    Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0) throw LzrwError("Lzrw1 (de)compression : Failed to open input file : " + path);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || info.st_size < 0)
        throw LzrwError("Lzrw1 compression : Failed to obtain the size of : " + path);
    Bytes data;
    try {
        data.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        throw LzrwError(kNoMemory);
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(file.fd, data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw LzrwError(message::readError(path) + readErrorSuffix);
        done += static_cast<std::size_t>(got);
    }
    return data;
}

void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string beside = path + ".new";
    Fd file(::open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.fd < 0)
        throw LzrwError("Lzrw1 (de)compression : Failed to open output file : " + path);
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
        const ssize_t put = ::write(file.fd, data.data() + done, data.size() - done);
        if (put < 0 && errno == EINTR) continue;
        ok = put > 0;
        if (ok) done += static_cast<std::size_t>(put);
    }
    // The new bytes must be on the disk before the name points at them.
    ok = ok && ::fsync(file.fd) == 0;
    ok = ::close(file.fd) == 0 && ok;
    file.fd = -1;
    ok = ok && std::rename(beside.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(beside.c_str());
        throw LzrwError("Lzrw1 : Error writing to output file : " + path);
    }
}

} // namespace bg::lzrw1

Tlzrw1::Tlzrw1() {
    try {
        m_coder = std::make_unique<bg::lzrw1::BlockCoder>();
    } catch (const std::bad_alloc&) {
        throw LzrwError("LZRW1KH : no memory for HASH table");
    }
}

std::size_t Tlzrw1::compressFrom(std::span<const std::uint8_t> data) {
    Bytes packed;
    try {
        bg::lzrw1::pack(data, packed, *m_coder);
    } catch (const std::bad_alloc&) {
        throw LzrwError(kNoMemory);
    }
    bg::lzrw1::writeFileAtomically(OutputFile, packed);
    return packed.size();
}

Bytes Tlzrw1::decompressToMemory() {
    const Bytes packed = bg::lzrw1::readWholeFile(InputFile);
    try {
        return bg::lzrw1::unpack(packed, InputFile);
    } catch (const std::bad_alloc&) {
        throw LzrwError(kNoMemory);
    }
}

std::size_t Tlzrw1::Compress() {
    return compressFrom(bg::lzrw1::readWholeFile(InputFile, " (LZRW1/KH)"));
}

std::size_t Tlzrw1::Decompress() {
    const Bytes data = decompressToMemory();
    bg::lzrw1::writeFileAtomically(OutputFile, data);
    return data.size();
}
