// The tally file's codec under the address and undefined-behaviour sanitizers: arbitrary bytes
// as a packed file and as one block must be refused or decoded without a stray read or write,
// and the same bytes packed must come back unchanged.

#include "lzrw1.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace bg::lzrw1;

    // As a whole file; fuzzed bytes rarely carry the header, so try them with one too.
    Bytes out;
    try {
        unpack({data, size}, out, "fuzz");
    } catch (const LzrwError&) {
    }
    std::vector<uint8_t> withHeader = {'W', 'R', 'Z', 'L'};
    withHeader.insert(withHeader.end(), data, data + size);
    try {
        unpack(withHeader, out, "fuzz");
    } catch (const LzrwError&) {
    }

    // As one block, read from a buffer of exactly its size.
    std::vector<uint8_t> block(data, data + size);
    std::vector<uint8_t> decoded(kBlockSize + kBlockSlack);
    const long n = decompressBlock(block.data(), block.size(), block.size(), decoded.data());
    if (n > static_cast<long>(kBlockSize)) std::abort();

    // Packing never changes what it packs.
    const Bytes packed = pack({data, size});
    const Bytes back = unpack(packed, "fuzz");
    if (back.size() != size || (size != 0 && std::memcmp(back.data(), data, size) != 0))
        std::abort();
    return 0;
}
