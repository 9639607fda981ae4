// The match file reader under the address and undefined-behaviour sanitizers: any text is read
// or refused with a line number, never a crash; what it reads replays, and written again it
// reads back the same.

#include "matchfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace bg::rec;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ReadResult r = readMatch(text);
    if (r.ok() != (r.line == 0)) std::abort();
    if (!r.ok()) return 0;
    std::string error;
    const auto positions = positionsOf(r.record, &error);
    if (!error.empty() || positions.size() != r.record.turns.size() + 1) std::abort();
    const ReadResult again = readMatch(writeMatch(r.record));
    if (!again.ok() || positionsOf(again.record) != positions) std::abort();
    return 0;
}
