// The tally's grid text reader and its records under the sanitizers: any text is refused or
// read into a grid that writes back to text the reader takes again, the same, and that the
// counting can work on.

#include "gridtext.h"
#include "tallyrecords.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bg::StringGrid grid;
    try {
        grid = bg::gridFromText(text);
    } catch (const bg::GridTextError&) {
        return 0;
    }
    const std::string written = bg::gridToText(grid);
    const bg::StringGrid again = bg::gridFromText(written);
    if (again.colCount() != grid.colCount() || again.rowCount() != grid.rowCount()) std::abort();
    if (bg::gridToText(again) != written) std::abort();

    bg::TallyRecords records;
    records.fromText(text);
    const int rows = records.grid().rowCount();
    records.addgame("Zobo", {{1, "Zobo"}, {rows - 1, "x"}, {rows, "beyond"}});
    records.removeRow(rows / 2);
    if (records.grid().colCount() < bg::kTallyColumns) std::abort();
    return 0;
}
