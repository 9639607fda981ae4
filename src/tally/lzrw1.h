#pragma once
// The tally file's block codec (LZRW1/KH, fast mode), in memory. A packed stream is the header
// "WRZL", the unpacked length (32-bit LE) and blocks of 32768 input bytes, each coded on its
// own: a 2-byte LE length, then either 0x80 and the bytes stored, or 0x40 and items (literals,
// copies of 3 to 18 bytes up to 4095 back, runs of 16 to 4095 equal bytes) grouped under
// big-endian 16-bit control words. When the length is a multiple of 32768 a final block 0x80
// ends the stream; otherwise the short last block does.
//
// pack() and unpack() code a whole stream; BlockCoder and decompressBlock() one block. The
// decoder trusts nothing: whatever the input, it stays inside its buffers and reports a damaged
// stream with an LzrwError.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace bg::lzrw1 {

inline constexpr std::size_t kBlockSize = 32768;
inline constexpr std::size_t kHashSize = 4096;
inline constexpr std::size_t kMaxOffset = 4095;
inline constexpr std::size_t kMinMatch = 3;
inline constexpr std::size_t kMaxMatch = 18;
inline constexpr std::size_t kMinRun = 16;
inline constexpr std::size_t kMaxRun = 4095;
inline constexpr std::uint8_t kStoredFlag = 0x80;
inline constexpr std::uint8_t kCodedFlag = 0x40;
inline constexpr std::size_t kHeaderSize = 8;
// Spare bytes behind a block's output: the coder may overshoot the input length by a control
// word and one item before it gives up and stores, and the decoder copies in 16-byte strides.
inline constexpr std::size_t kBlockSlack = 32;

// Errors of the codec; what() is the message the user sees.
class LzrwError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A byte allocator that leaves new bytes uninitialised: output buffers are sized to their worst
// case and then cut back, so zero-filling them would cost as much as the coding.
template <class T> struct NoInitAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = NoInitAllocator<U>; };
    NoInitAllocator() = default;
    template <class U> NoInitAllocator(const NoInitAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using Bytes = std::vector<std::uint8_t, NoInitAllocator<std::uint8_t>>;

// Codes one block at a time with its own hash table (4096 positions, cleared per block).
class BlockCoder {
  public:
    // Codes in[0, n), n <= kBlockSize, into out, which has room for n + kBlockSlack bytes;
    // returns the block data's length (n + 1 when the block is stored).
    std::size_t compressBlock(const std::uint8_t* in, std::size_t n, std::uint8_t* out);

  private:
    std::array<std::int16_t, kHashSize> m_table{};
};

// Decodes the block data s[0, length) into out, which has room for kBlockSize + kBlockSlack
// bytes. `readable` (>= length) is how many bytes from s on may be read; the literal path reads
// ahead when it can. Returns the number of bytes the block decodes to, or -1 when the block is
// damaged (it would decode past kBlockSize, copy from before its start, or ends inside an item).
long decompressBlock(const std::uint8_t* s, std::size_t length, std::size_t readable,
                     std::uint8_t* out);

// The largest packed size of n input bytes (header, block lengths, stored blocks, final block).
std::size_t maxPackedSize(std::size_t n);

// Packs a whole stream into out (replacing its content).
void pack(std::span<const std::uint8_t> in, Bytes& out, BlockCoder& coder);
Bytes pack(std::span<const std::uint8_t> in);

// Unpacks a whole stream into out (replacing its content). `inputName` goes into the messages.
// Throws LzrwError for a short stream, a foreign header, a damaged block or a wrong length.
void unpack(std::span<const std::uint8_t> in, Bytes& out, const std::string& inputName);
Bytes unpack(std::span<const std::uint8_t> in, const std::string& inputName);

// The messages, with the file names they carry.
namespace message {
std::string noHeader(const std::string& inputFile);
std::string otherMethod(const std::string& inputFile);
std::string readError(const std::string& inputFile);
std::string sizesDiffer();
std::string damagedBlock(const std::string& inputFile);
} // namespace message

} // namespace bg::lzrw1
