// The data-file reader on arbitrary bytes: it fails only with its two errors, and a table it
// read in full, written out and read back, is the same table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/text_file.h"
#include "fuzz_check.h"
#include "model/data_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarzel;
    const std::string text =
        normalizeLineBreaks(std::string(reinterpret_cast<const char*>(data), size));
    DataTable table;
    try {
        applyDataFileText(text, table);
    } catch (const SystemError& error) {
        const std::string message = toUtf8(error.text());
        FUZZ_CHECK(message.rfind("Listenindex überschreitet das Maximum (", 0) == 0 ||
                   message == "Fehler bei Bereichsprüfung");
        return 0;
    }
    DataTable again;
    applyDataFileText(dataFileText(table), again);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        FUZZ_CHECK(again.value(row) == table.value(row));
        FUZZ_CHECK(again.comment(row) == table.comment(row));
        FUZZ_CHECK(!table.value(row).empty());
        FUZZ_CHECK(table.value(row).find(':') == std::string::npos);
    }
    return 0;
}
