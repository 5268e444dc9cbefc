#include "checker/check_program.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "checker/line_scanner.h"
#include "common/number_text.h"
#include "common/quote.h"
#include "common/views.h"
#include "common/win1252.h"
#include "model/instruction_set.h"

namespace quarzel {
namespace {

constexpr char kCaption[] = "Programmfehler";

// One mark, while the checker resolves jump targets.
struct VM_Mark {
    std::int32_t Line = 0;  // index of the MRK line, counted from 0
};

// The most lines an editor window can show at once, with room to spare (a portrait 4K screen
// shows well under 400). Until the text fills the window, appending does not scroll it; an
// editor that still has not scrolled after this many appends never will.
constexpr int kTallestView = 500;

// Names in the order they were first met, with a hash index beside the list so that finding a
// name does not walk it. The deque keeps every name in place, so the index can point into it.
class NameList {
  public:
    int indexOf(std::string_view name) const {
        const auto found = m_index.find(name);
        return found == m_index.end() ? -1 : found->second;
    }
    // Appends a name the list does not hold yet and returns its position.
    int append(std::string name) {
        const int position = count();
        m_names.push_back(std::move(name));
        m_index.emplace(m_names.back(), position);
        return position;
    }
    int indexOrAppend(std::string name) {
        const int position = indexOf(name);
        return position >= 0 ? position : append(std::move(name));
    }
    const std::string& at(int position) const { return m_names[position]; }
    int count() const { return static_cast<int>(m_names.size()); }

  private:
    std::deque<std::string> m_names;
    std::unordered_map<std::string_view, int> m_index;
};

bool lineError(ProgramEditorView& editor, PromptView& prompts, int line, const std::string& rest) {
    prompts.showMessage("Fehler in Zeile " + int32ToText(line + 1) + rest, kCaption,
                        MessageIcon::Error);
    editor.selectLine(line);
    return false;
}

// Both passes: every line into `instructions`, then every jump's target name replaced by the
// line of its MRK. The mark lists live only as long as this call.
bool assemble(ProgramEditorView& editor, PromptView& prompts, const OpcodeList& opcodes,
              Instructions& instructions, bool& stpSeen) {
    NameList markNames;
    std::vector<VM_Mark> markList;  // entry k belongs to markNames.at(k)
    NameList targetNames;           // a jump's Operand is a position here until pass 2

    const int lineCount = editor.lineCount();
    instructions.reserve(static_cast<std::size_t>(std::max(lineCount, 0)));
    for (int i = 0; i < lineCount; ++i) {
        ScannedLine line = scanLine(normaliseLine(editor.lineText(i)), opcodes);
        switch (line.kind) {
            case LineKind::Error:
                return lineError(editor, prompts, i, line.error);
            case LineKind::MarkDefinition:
                if (markNames.indexOf(line.name) >= 0) {
                    return lineError(editor, prompts, i,
                                     " : Marke " + shortQuote(line.name) + " bereits definiert");
                }
                markNames.append(std::move(line.name));
                markList.push_back(VM_Mark{i});
                break;
            case LineKind::Jump:
                line.record.Operand = targetNames.indexOrAppend(std::move(line.name));
                break;
            case LineKind::Filler:
            case LineKind::Instruction:
                break;
        }
        stpSeen = stpSeen || line.record.Opcode == static_cast<std::int32_t>(Mnemonic::STP);
        instructions.push_back(line.record);
    }

    // Each target name is looked up once; -1 marks a name that no MRK defines.
    std::vector<std::int32_t> targetLines(static_cast<std::size_t>(targetNames.count()));
    for (int t = 0; t < targetNames.count(); ++t) {
        const int mark = markNames.indexOf(targetNames.at(t));
        targetLines[t] = mark >= 0 ? markList[mark].Line : -1;
    }
    for (std::size_t i = 0; i < instructions.size(); ++i) {
        VM_Instruction& record = instructions[i];
        if (!inMarkOperandSet(record.Opcode)) {
            continue;
        }
        const std::int32_t target = targetLines[record.Operand];
        if (target < 0) {
            const std::string& name = targetNames.at(record.Operand);
            // Only the resolved lines before the faulty one stay.
            instructions.resize(i);
            return lineError(editor, prompts, static_cast<int>(i),
                             ": Ziel " + shortQuote(name) + " ist nicht vorhanden");
        }
        record.Operand = target;
    }
    return true;
}

// Appends empty lines until the last program line can be the first visible line, so that the
// run display can scroll every program line to the top. An editor that stops scrolling (hidden,
// no height, already at its limit) ends the loop instead of growing the text forever.
void makeRoomBelow(ProgramEditorView& editor) {
    const int lastLine = editor.lineCount() - 1;
    int first = editor.firstVisibleLine();
    bool scrolled = false;
    int idleAppends = 0;
    while (first < lastLine) {
        editor.appendEmptyLine();
        const int now = editor.firstVisibleLine();
        const bool moved = now > first;
        first = now;
        if (moved) {
            scrolled = true;
        } else if (scrolled || ++idleAppends >= kTallestView) {
            // Once the window scrolls, every append scrolls it by a line; before that, the
            // appends only fill the window.
            break;
        }
    }
}

}  // namespace

bool CheckProgram(ProgramEditorView& editor, PromptView& prompts, const OpcodeList& opcodes,
                  Instructions& instructions) {
    instructions.clear();
    bool stpSeen = false;
    if (!assemble(editor, prompts, opcodes, instructions, stpSeen)) {
        return false;
    }
    if (!stpSeen) {
        prompts.showMessage(fromUtf8("Fehler: Programm enthält keine STP-Anweisung"), kCaption,
                            MessageIcon::Error);
        return false;
    }
    // Empty lines, comments and ZZZ after the last real instruction are never reached.
    while (!instructions.empty() &&
           instructions.back().Opcode == static_cast<std::int32_t>(Mnemonic::ZZZ)) {
        instructions.pop_back();
    }
    makeRoomBelow(editor);
    return true;
}

}  // namespace quarzel
