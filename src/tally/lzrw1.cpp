#include "lzrw1.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace bg::lzrw1 {

namespace {

static_assert(kBlockSize <= 32768, "positions must fit the hash table's 16-bit entries");

constexpr std::uint8_t kHeader[4] = {'W', 'R', 'Z', 'L'};
constexpr std::uint8_t kOtherHeader[4] = {'!', 'H', 'Z', 'L'};
constexpr std::uint32_t kHashMultiplier = 40543;

inline std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Index of the first differing byte in a non-zero XOR of two 8-byte loads.
inline std::size_t firstDifference(std::uint64_t diff) {
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(diff)) / 8;
    else
        return static_cast<std::size_t>(std::countl_zero(diff)) / 8;
}

inline void store64(std::uint8_t* p, std::uint64_t v) {
    std::memcpy(p, &v, sizeof v);
}

// Copies 16 bytes through a register, so overlapping source and destination are well defined.
inline void copy16(std::uint8_t* dst, const std::uint8_t* src) {
    std::uint8_t tmp[16];
    std::memcpy(tmp, src, 16);
    std::memcpy(dst, tmp, 16);
}
inline void copy8(std::uint8_t* dst, const std::uint8_t* src) {
    std::uint8_t tmp[8];
    std::memcpy(tmp, src, 8);
    std::memcpy(dst, tmp, 8);
}

inline void put16be(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
inline void put16le(std::uint8_t* p, std::size_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline std::uint32_t get32le(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint32_t hash3(const std::uint8_t* p) {
    const std::uint32_t h = ((((std::uint32_t{p[0]} << 4) ^ p[1]) << 4) ^ p[2]) * kHashMultiplier;
    return (h >> 4) & (kHashSize - 1);
}

// How many bytes from `a` on equal those from `b` on, at most `limit` (b < a, so b's bytes up
// to b + limit are inside the block too).
inline std::size_t commonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t n = 0;
    while (n + 8 <= limit) {
        const std::uint64_t diff = load64(a + n) ^ load64(b + n);
        if (diff != 0) return n + firstDifference(diff);
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// How many bytes from p on equal p[0], at most `limit` (>= 1).
inline std::size_t runLength(const std::uint8_t* p, std::size_t limit) {
    const std::uint64_t pattern = p[0] * 0x0101010101010101ull;
    std::size_t n = 1;
    while (n + 8 <= limit) {
        const std::uint64_t diff = load64(p + n) ^ pattern;
        if (diff != 0) return n + firstDifference(diff);
        n += 8;
    }
    while (n < limit && p[n] == p[0])
        ++n;
    return n;
}

} // namespace

std::size_t BlockCoder::compressBlock(const std::uint8_t* in, std::size_t n, std::uint8_t* out) {
    m_table.fill(-1);
    out[0] = kCodedFlag;
    std::uint8_t* y = out + 3;
    std::uint8_t* z = out + 1;
    std::uint8_t* const yLimit = out + n; // coding stops once it is no shorter than storing
    std::uint32_t control = 0;
    int bits = 0;
    // The last two positions have no three bytes to hash and could not match anyway.
    const std::size_t hashEnd = n >= 2 ? n - 2 : 0;
    std::size_t x = 0;

    while (x < n && y <= yLimit) {
        if (bits == 16) {
            put16be(z, control);
            z = y;
            y += 2;
            bits = 0;
        }
        ++bits;
        const std::uint8_t* const here = in + x;
        if (x + 1 < n && here[1] == here[0]) {
            const std::size_t run = runLength(here, std::min(kMaxRun, n - x));
            if (run >= kMinRun) {
                y[0] = 0;
                put16be(y + 1, static_cast<std::uint32_t>(run - kMinRun));
                y[3] = here[0];
                y += 4;
                x += run;
                control = (control << 1) | 1;
                continue;
            }
        }
        if (x < hashEnd) {
            std::int16_t& slot = m_table[hash3(here)];
            const std::int16_t p = slot;
            slot = static_cast<std::int16_t>(x);
            if (p >= 0 && x - static_cast<std::size_t>(p) <= kMaxOffset) {
                const std::size_t len = commonLength(here, in + p, std::min(kMaxMatch, n - x));
                if (len >= kMinMatch) {
                    put16be(y, static_cast<std::uint32_t>(((x - p) << 4) + (len - kMinMatch)));
                    y += 2;
                    x += len;
                    control = (control << 1) | 1;
                    continue;
                }
            }
        }
        *y++ = here[0];
        ++x;
        control <<= 1;
    }
    put16be(z, (control << (16 - bits)) & 0xFFFF);

    const auto coded = static_cast<std::size_t>(y - out);
    if (coded <= n) return coded;
    out[0] = kStoredFlag;
    if (n != 0) std::memcpy(out + 1, in, n);
    return n + 1;
}

namespace {

// Repeats `count` (3 to 18) output bytes from `pos` back; writes up to 24 bytes at d, which
// the output's slack allows.
inline void copyMatch(std::uint8_t* d, std::size_t pos, std::size_t count) {
    const std::uint8_t* from = d - pos;
    if (count <= pos || pos >= 16) {
        // The first 16 bytes' source ends before d, so one wide load takes all of it; the
        // bytes written past count are written again by the items that follow. The last two
        // of the longest copies come from at least 16 back, which is written by then. Most
        // copies are this one, and most of them short: those load as little as they can, as
        // a load that spans several stores still in flight waits for all of them.
        if (count <= 8) {
            copy8(d, from);
            return;
        }
        copy16(d, from);
        if (count > 16) copy8(d + 16, from + 16);
        return;
    }
    if constexpr (std::endian::native != std::endian::little) {
        for (std::size_t k = 0; k < 24; ++k)
            d[k] = from[k];
        return;
    }
    if (pos >= 8) {
        // Each 8 bytes are made of the two before them, shifted together in registers.
        const std::uint64_t c0 = load64(from);
        std::uint64_t c1 = c0, c2 = c0;
        if (pos > 8) {
            const unsigned low = 8 * (16 - static_cast<unsigned>(pos));
            const unsigned high = 8 * (static_cast<unsigned>(pos) - 8);
            c1 = (load64(d - 8) >> low) | (c0 << high);
            c2 = (c0 >> low) | (c1 << high);
        }
        store64(d, c0);
        store64(d + 8, c1);
        store64(d + 16, c2);
        return;
    }
    // A short pattern repeats: build 8 bytes of it in a register and rotate it for the next
    // 8, instead of reading back bytes just written (that stalls on every item).
    const unsigned width = 8 * static_cast<unsigned>(pos);
    std::uint64_t p = load64(from) & ((std::uint64_t{1} << width) - 1);
    p |= p << width;
    if (pos < 4) p |= p << (2 * width);
    if (pos < 2) p |= p << 32;
    const unsigned phase = 8 * (8 % static_cast<unsigned>(pos));
    const unsigned back = width - phase;
    store64(d, p);
    p = (p >> phase) | (p << back);
    store64(d + 8, p);
    p = (p >> phase) | (p << back);
    store64(d + 16, p);
}

// What one whole group of 16 items can read and write at most, leaving out runs.
constexpr std::size_t kGroupInput = 16 * 4 + 16;
constexpr std::size_t kGroupOutput = 16 * kMaxMatch;

} // namespace

long decompressBlock(const std::uint8_t* s, std::size_t length, std::size_t readable,
                     std::uint8_t* out) {
    if (length <= 1) return 0;
    if (s[0] == kStoredFlag) {
        if (length - 1 > kBlockSize) return -1;
        std::memcpy(out, s + 1, length - 1);
        return static_cast<long>(length - 1);
    }
    if (length < 3) return 0; // no item can follow; the result is empty as for L <= 1

    // The control word sits in the top half, so the item's flag is bit 31.
    std::uint32_t control = (std::uint32_t{s[1]} << 24) | (std::uint32_t{s[2]} << 16);
    int bits = 16;
    std::size_t x = 3;
    std::size_t y = 0;
    while (x < length) {
        if (bits == 0) {
            if (x + 2 >= length) return -1; // a control word with no item behind it
            control = (std::uint32_t{s[x]} << 24) | (std::uint32_t{s[x + 1]} << 16);
            bits = 16;
            x += 2;
        }
        // A whole group far from both ends: no item can run past the input or, runs aside,
        // past the block, so only the offsets and the runs need checking.
        if (bits == 16 && length - x >= kGroupInput && y + kGroupOutput <= kBlockSize) {
            // Each step is a stretch of literals, maybe empty, then one copy or run: so
            // whether a literal or a copy comes next never has to be guessed.
            for (;;) {
                const int n = std::min(std::countl_zero(control), bits);
                copy16(out + y, s + x);
                x += static_cast<std::size_t>(n);
                y += static_cast<std::size_t>(n);
                control <<= n;
                bits -= n;
                if (bits == 0) break;
                const std::size_t pos = (std::size_t{s[x]} << 4) | (s[x + 1] >> 4);
                control <<= 1;
                --bits;
                if (pos == 0) {
                    const std::size_t count = ((std::size_t{s[x + 1]} << 8) | s[x + 2]) + kMinRun;
                    if (y + count > kBlockSize) return -1;
                    std::memset(out + y, s[x + 3], count);
                    y += count;
                    x += 4;
                    if (y + kGroupOutput > kBlockSize) break; // the rest item by item
                } else {
                    if (pos > y) return -1;
                    const std::size_t count = (s[x + 1] & 15u) + kMinMatch;
                    copyMatch(out + y, pos, count);
                    y += count;
                    x += 2;
                }
                if (bits == 0) break;
            }
            continue;
        }
        if ((control & 0x80000000u) == 0) {
            // A stretch of literals: all the leading zero bits of the control word at once.
            std::size_t count = static_cast<std::size_t>(std::countl_zero(control));
            count = std::min({count, static_cast<std::size_t>(bits), length - x});
            if (y + count > kBlockSize) return -1;
            if (x + 16 <= readable)
                copy16(out + y, s + x);
            else
                std::memcpy(out + y, s + x, count);
            x += count;
            y += count;
            control <<= count;
            bits -= static_cast<int>(count);
            continue;
        }
        if (x + 2 > length) return -1;
        const std::size_t pos = (std::size_t{s[x]} << 4) | (s[x + 1] >> 4);
        if (pos == 0) {
            if (x + 4 > length) return -1;
            const std::size_t count = ((std::size_t{s[x + 1]} << 8) | s[x + 2]) + kMinRun;
            if (y + count > kBlockSize) return -1;
            std::memset(out + y, s[x + 3], count);
            y += count;
            x += 4;
        } else {
            const std::size_t count = (s[x + 1] & 15u) + kMinMatch;
            if (pos > y || y + count > kBlockSize) return -1;
            copyMatch(out + y, pos, count);
            y += count;
            x += 2;
        }
        control <<= 1;
        --bits;
    }
    return static_cast<long>(y);
}

std::size_t maxPackedSize(std::size_t n) {
    return kHeaderSize + (n / kBlockSize + 1) * (2 + 1) + n;
}

void pack(std::span<const std::uint8_t> in, Bytes& out, BlockCoder& coder) {
    if (in.size() > 0xFFFFFFFFu) throw LzrwError("Lzrw1 compression : input longer than 4 GiB");
    out.resize(maxPackedSize(in.size()) + kBlockSlack);
    std::uint8_t* o = out.data();
    std::memcpy(o, kHeader, 4);
    const auto total = static_cast<std::uint32_t>(in.size());
    for (int i = 0; i < 4; ++i)
        o[4 + i] = static_cast<std::uint8_t>(total >> (8 * i));
    o += kHeaderSize;
    for (std::size_t at = 0;; at += kBlockSize) {
        const std::size_t n = std::min(kBlockSize, in.size() - at);
        const std::size_t length = coder.compressBlock(in.data() + at, n, o + 2);
        put16le(o, length);
        o += 2 + length;
        if (n < kBlockSize) break;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

Bytes pack(std::span<const std::uint8_t> in) {
    auto coder = std::make_unique<BlockCoder>();
    Bytes out;
    pack(in, out, *coder);
    return out;
}

void unpack(std::span<const std::uint8_t> in, Bytes& out, const std::string& inputName) {
    const std::uint8_t* s = in.data();
    const std::size_t size = in.size();
    if (size < 4) throw LzrwError(message::readError(inputName));
    if (std::memcmp(s, kOtherHeader, 4) == 0) throw LzrwError(message::otherMethod(inputName));
    if (std::memcmp(s, kHeader, 4) != 0) throw LzrwError(message::noHeader(inputName));
    if (size < kHeaderSize) throw LzrwError(message::readError(inputName));
    const std::uint32_t expected = get32le(s + 4);

    // A block of L + 2 packed bytes gives at most 32768 bytes, a run item 4111 from 4 bytes:
    // reserve for the stated length only as far as the input could really reach it.
    const std::size_t reachable = size > SIZE_MAX / 1028 ? SIZE_MAX / 2 : size * 1028;
    out.clear();
    out.reserve(std::min<std::size_t>(expected, reachable) + kBlockSize + kBlockSlack);

    std::size_t x = kHeaderSize;
    std::size_t total = 0;
    for (;;) {
        if (x + 2 > size) throw LzrwError(message::readError(inputName));
        const std::size_t length = s[x] | (std::size_t{s[x + 1]} << 8);
        x += 2;
        if (x + length > size) throw LzrwError(message::readError(inputName));
        out.resize(total + kBlockSize + kBlockSlack);
        const long got = decompressBlock(s + x, length, size - x, out.data() + total);
        if (got < 0) throw LzrwError(message::damagedBlock(inputName));
        x += length;
        total += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < kBlockSize) break;
    }
    out.resize(total);
    if (total != expected) throw LzrwError(message::sizesDiffer());
}

Bytes unpack(std::span<const std::uint8_t> in, const std::string& inputName) {
    Bytes out;
    unpack(in, out, inputName);
    return out;
}

namespace message {
std::string noHeader(const std::string& inputFile) {
    return inputFile + " : Lzrw1 decompression : this file has no valid header !";
}
std::string otherMethod(const std::string& inputFile) {
    return inputFile + " : Lzrw1 decompression : this file was packed with the LZH method "
                       "(header !HZL), which this program does not read !";
}
std::string readError(const std::string& inputFile) {
    return "Lzrw1 : Error reading from input file : " + inputFile;
}
std::string sizesDiffer() {
    return "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";
}
std::string damagedBlock(const std::string& inputFile) {
    return "Lzrw1 (decompression LZRW1/KH) : damaged block in " + inputFile +
           ", decoding stopped !";
}
} // namespace message

} // namespace bg::lzrw1
