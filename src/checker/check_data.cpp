#include "checker/check_data.h"

#include "common/number_text.h"
#include "common/quote.h"
#include "common/views.h"
#include "common/win1252.h"
#include "model/data_table.h"

namespace quarzel {
namespace {

bool isWellFormedValue(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(c == '-' && i == 0)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckData(const DataTable& table, PromptView& prompts) {
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        const std::string& value = table.value(row);
        if (!isWellFormedValue(value)) {
            prompts.showMessage("Fehler in Zeile " + int32ToText(row + 1) + ": " +
                                    shortQuote(value) + " ist keine Zahl!",
                                "Datenfehler", MessageIcon::Error);
            return false;
        }
    }
    return true;
}

}  // namespace quarzel
